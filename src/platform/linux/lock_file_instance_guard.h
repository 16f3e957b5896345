#pragma once

#include <filesystem>
#include <utility>

#include "platform/instance_guard.h"

namespace somnar {

// One running copy per user: an exclusive flock on a lock file, held for the life of
// this object. The kernel drops the lock when the process ends, however it ends, so a
// lock file left behind by a crashed run never blocks a start.
class LockFileInstanceGuard : public InstanceGuard {
  public:
    // lockFile: empty means defaultLockFile().
    explicit LockFileInstanceGuard(std::filesystem::path lockFile = {});
    LockFileInstanceGuard(const LockFileInstanceGuard&) = delete;
    LockFileInstanceGuard& operator=(const LockFileInstanceGuard&) = delete;

    // False only while another process (or another guard object) holds the lock. When
    // the lock file cannot be opened or locked at all, the program may still run, but
    // without a claim.
    bool acquire() override;

    const std::filesystem::path& lockFile() const { return lockFile_; }

    // $XDG_RUNTIME_DIR/somnar-scheduler.lock; /tmp/somnar-scheduler-<uid>.lock when that
    // variable is unset or does not name a writable folder.
    static std::filesystem::path defaultLockFile();

  private:
    // Owns one file descriptor and closes it.
    class OwnedFd {
      public:
        OwnedFd() = default;
        explicit OwnedFd(int fd) : fd_(fd) {}
        OwnedFd(OwnedFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
        OwnedFd& operator=(OwnedFd&& other) noexcept;
        OwnedFd(const OwnedFd&) = delete;
        OwnedFd& operator=(const OwnedFd&) = delete;
        ~OwnedFd();

        int get() const { return fd_; }
        bool valid() const { return fd_ >= 0; }

      private:
        int fd_ = -1;
    };

    std::filesystem::path lockFile_;
    OwnedFd fd_;
};

}  // namespace somnar
