#include "platform/linux/linux_files.h"

#include "platform/linux/latin1_text.h"
#include "platform/linux/private_folder.h"
#include "platform/linux/unique_fd.h"

#include <QFile>
#include <QStandardPaths>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace somnar {

namespace fs = std::filesystem;

namespace {

bool isPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

}  // namespace

LinuxFiles::LinuxFiles(std::string applicationName)
    : applicationName_(std::move(applicationName)) {}

bool LinuxFiles::folderWritable(const std::string& folder) {
    try {
        struct stat status {};
        if (folder.empty() || ::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
            ::access(folder.c_str(), W_OK | X_OK) != 0) {
            return false;
        }
        std::string probe = (fs::path(folder) / ".somnar-write-test-XXXXXX").string();
        const UniqueFd fd(::mkostemp(probe.data(), O_CLOEXEC));
        if (!fd.valid()) {
            return false;
        }
        ::unlink(probe.c_str());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string LinuxFiles::dataFolder() {
    try {
        if (!isPlainFileName(applicationName_)) {
            return {};
        }
        const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (base.isEmpty()) {
            return {};
        }
        const fs::path folder = fs::path(QFile::encodeName(base).toStdString()) / applicationName_;
        if (!ensurePrivateFolder(folder)) {
            return {};
        }
        return folder.string();
    } catch (const std::exception&) {
        return {};
    }
}

bool LinuxFiles::writeSingleByteText(const std::string& path, const std::string& utf8Text) {
    try {
        if (path.empty()) {
            return false;
        }
        // Readable for everyone, as a published document is.
        ReplacementFile file(path, 0644);
        return file.valid() && file.write(toLatin1(utf8Text)) && file.replaceTarget();
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace somnar
