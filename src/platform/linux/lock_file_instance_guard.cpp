#include "platform/linux/lock_file_instance_guard.h"

#include "platform/linux/private_folder.h"
#include "platform/startup_steps.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace somnar {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLockName = "somnar-scheduler.lock";

// A folder no other user can write to: ours and 0700.
bool isPrivateFolder(const fs::path& folder) {
    struct stat status {};
    return ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 07777) == 0700;
}

// The folder an XDG variable names; a relative one is ignored, as the XDG rules ask.
fs::path xdgFolder(const char* variable, const char* underHome) {
    if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') {
        return value;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return fs::path(home) / underHome;
    }
    return {};
}

}  // namespace

LockFileInstanceGuard::LockFileInstanceGuard(fs::path lockFile)
    : lockFile_(lockFile.empty() ? defaultLockFile() : std::move(lockFile)) {}

fs::path LockFileInstanceGuard::defaultLockFile() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && runtime[0] == '/' && isPrivateFolder(runtime)) {
        return fs::path(runtime) / kLockName;
    }
    for (const fs::path& base :
         {xdgFolder("XDG_STATE_HOME", ".local/state"), xdgFolder("XDG_CACHE_HOME", ".cache")}) {
        const fs::path folder = base / "somnar-scheduler";
        if (!base.empty() && ensurePrivateFolder(folder) && isPrivateFolder(folder)) {
            return folder / kLockName;
        }
    }
    return {};
}

bool LockFileInstanceGuard::acquire() {
    SOMNAR_STARTUP_STEP("single-copy lock");
    if (fd_.valid() || lockFile_.empty()) {
        return true;
    }
    // O_NOFOLLOW: a lock file given by the caller may lie in a shared folder.
    UniqueFd fd(::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.valid()) {
        return true;
    }
    // A file planted by another user must not be able to keep this program from starting.
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_uid != ::geteuid()) {
        return true;
    }
    int result = 0;
    do {
        result = ::flock(fd.get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        return errno != EWOULDBLOCK;
    }
    fd_ = std::move(fd);
    return true;
}

}  // namespace somnar
