#include "platform/linux/lock_file_instance_guard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <utility>

namespace somnar {

namespace fs = std::filesystem;

LockFileInstanceGuard::OwnedFd& LockFileInstanceGuard::OwnedFd::operator=(
    OwnedFd&& other) noexcept {
    if (this != &other) {
        OwnedFd old(std::exchange(fd_, std::exchange(other.fd_, -1)));
    }
    return *this;
}

LockFileInstanceGuard::OwnedFd::~OwnedFd() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

LockFileInstanceGuard::LockFileInstanceGuard(fs::path lockFile)
    : lockFile_(lockFile.empty() ? defaultLockFile() : std::move(lockFile)) {}

fs::path LockFileInstanceGuard::defaultLockFile() {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && runtimeDir[0] == '/') {
        struct stat status {};
        if (::stat(runtimeDir, &status) == 0 && S_ISDIR(status.st_mode) &&
            ::access(runtimeDir, W_OK | X_OK) == 0) {
            return fs::path(runtimeDir) / "somnar-scheduler.lock";
        }
    }
    return fs::path("/tmp") / ("somnar-scheduler-" + std::to_string(::getuid()) + ".lock");
}

bool LockFileInstanceGuard::acquire() {
    if (fd_.valid()) {
        return true;
    }
    // O_NOFOLLOW: in a shared folder such as /tmp the name must not lead elsewhere.
    OwnedFd fd(::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
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
