#include "platform/linux/private_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <utility>

namespace somnar {

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 100;

std::string randomSuffix() {
    static constexpr std::string_view kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string suffix(8, ' ');
    for (char& letter : suffix) {
        letter = kLetters[pick(source)];
    }
    return suffix;
}

// The file under the name to disk: through the descriptor while it still names that file,
// else (another writer put a new file there) opened afresh.
bool syncToDisk(int fd, const fs::path& path) {
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
        return ::fsync(fd) == 0;
    }
    const UniqueFd reopened(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    return reopened.valid() && ::fsync(reopened.get()) == 0;
}

}  // namespace

bool ensurePrivateFolder(const fs::path& folder) {
    std::error_code error;
    if (fs::is_directory(folder, error)) {
        return true;
    }
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return fs::is_directory(folder, error);
}

ReplacementFile::ReplacementFile(fs::path target, mode_t mode) : target_(std::move(target)) {
    const std::string name = target_.filename().string();
    if (name.empty() || name == "." || name == "..") {
        return;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        path_ = target_.parent_path() / ("." + name + "." + randomSuffix());
        fd_.reset(
            ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (fd_.valid() || errno != EEXIST) {
            return;
        }
    }
}

ReplacementFile::~ReplacementFile() {
    if (fd_.valid() && !replaced_) {
        ::unlink(path_.c_str());
    }
}

bool ReplacementFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_.get(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool ReplacementFile::replaceTarget() {
    if (!valid() || !syncToDisk(fd_.get(), path_) ||
        ::rename(path_.c_str(), target_.c_str()) != 0) {
        return false;
    }
    replaced_ = true;
    // The rename itself to disk where the folder may be opened; a folder its owner may
    // write to but not list is still written.
    const fs::path folder = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();
    if (const UniqueFd handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        handle.valid()) {
        ::fsync(handle.get());
    }
    return true;
}

}  // namespace somnar
