#pragma once

#include <filesystem>

#include "platform/instance_guard.h"
#include "platform/linux/unique_fd.h"

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

    // somnar-scheduler.lock in the first private folder (this user's, mode 0700) of:
    // $XDG_RUNTIME_DIR; somnar-scheduler in the state folder ($XDG_STATE_HOME, else
    // ~/.local/state); somnar-scheduler in the cache folder ($XDG_CACHE_HOME, else ~/.cache).
    // The last two are made when missing; one that is not private is not used, so no other
    // user can take the lock first. Empty when there is no such folder.
    static std::filesystem::path defaultLockFile();

  private:
    std::filesystem::path lockFile_;
    UniqueFd fd_;
};

}  // namespace somnar
