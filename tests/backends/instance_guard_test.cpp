#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "backends/test_environment.h"
#include "platform/linux/lock_file_instance_guard.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;

mode_t modeOf(const fs::path& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0;
}

// A forked copy of this test that runs `take` (as "nobody" when asked) and holds what it
// took, as a second running program, until killed as a crash would kill it.
class LockHolder {
  public:
    LockHolder(const std::function<bool()>& take, bool asNobody = false) {
        int ready[2];
        [[maybe_unused]] const int made = ::pipe(ready);
        pid_ = ::fork();
        if (pid_ == 0) {
            const bool became = !asNobody || (::setresgid(65534, 65534, 65534) == 0 &&
                                              ::setresuid(65534, 65534, 65534) == 0);
            const char answer = became && take() ? 'y' : 'n';
            [[maybe_unused]] const ssize_t written = ::write(ready[1], &answer, 1);
            ::pause();
            ::_exit(0);
        }
        char answer = 0;
        holds_ = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~LockHolder() { kill(); }

    bool holds() const { return holds_; }
    void kill() {
        if (pid_ > 0 && ::kill(pid_, SIGKILL) == 0) {
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    bool holds_ = false;
};

class InstanceGuardTest : public ::testing::Test {
  protected:
    test::TempDir dir_;
    fs::path lock_ = dir_.path() / "somnar-scheduler.lock";
};

TEST_F(InstanceGuardTest, OneCopyRunsUntilItEndsOrCrashes) {
    const mode_t previous = ::umask(0);
    auto first = std::make_unique<LockFileInstanceGuard>(lock_);
    EXPECT_TRUE(first->acquire());
    ::umask(previous);
    EXPECT_EQ(modeOf(lock_), 0600u);
    EXPECT_TRUE(first->acquire()) << "asking again keeps the claim";
    LockFileInstanceGuard second(lock_);
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());

    // Acquired in the forked copy only, where the object lives on.
    LockFileInstanceGuard third(dir_.path() / "third.lock");
    LockHolder holder([&] { return third.acquire(); });
    ASSERT_TRUE(holder.holds());
    EXPECT_FALSE(LockFileInstanceGuard(dir_.path() / "third.lock").acquire());
    holder.kill();
    EXPECT_TRUE(fs::exists(dir_.path() / "third.lock")) << "the crash leaves the file behind";
    EXPECT_TRUE(LockFileInstanceGuard(dir_.path() / "third.lock").acquire());
}

// Neither a link at the lock's place nor another user's lock file keeps the program from
// starting.
TEST_F(InstanceGuardTest, NoLinkIsFollowedAndNoStrangersFileIsShared) {
    fs::create_symlink(dir_.path() / "elsewhere", lock_);
    EXPECT_TRUE(LockFileInstanceGuard(lock_).acquire());
    EXPECT_FALSE(fs::exists(dir_.path() / "elsewhere"));
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give the lock file to another user";
    }
    fs::remove(lock_);
    fs::permissions(dir_.path(), fs::perms(0755));
    test::writeFile(lock_, "");
    ASSERT_EQ(::chown(lock_.c_str(), 65534, 65534), 0);
    LockHolder stranger(
        [this] {
            const int fd = ::open(lock_.c_str(), O_RDWR | O_CLOEXEC);
            return fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        },
        true);
    ASSERT_TRUE(stranger.holds());
    EXPECT_TRUE(LockFileInstanceGuard(lock_).acquire());
}

// The runtime folder, else a folder of our own under the state, else the cache folder.
// The variables point first to: no XDG_RUNTIME_DIR, XDG_STATE_HOME=state,
// XDG_CACHE_HOME=cache, HOME=home below the test's folder.
struct LockPlace {
    const char* name;
    std::function<void(const fs::path& root)> prepare;
    const char* lockFile;  // below the root; empty: none
};

fs::path folder(const fs::path& path, mode_t mode, uid_t owner = 0) {
    fs::create_directories(path);
    ::chmod(path.c_str(), mode);
    [[maybe_unused]] const int given = owner != 0 ? ::chown(path.c_str(), owner, owner) : 0;
    return path;
}

class DefaultLockFileTest : public InstanceGuardTest,
                            public ::testing::WithParamInterface<LockPlace> {
  protected:
    test::ScopedEnv runtime_{"XDG_RUNTIME_DIR", ""};
    test::ScopedEnv state_{"XDG_STATE_HOME", (dir_.path() / "state").string()};
    test::ScopedEnv cache_{"XDG_CACHE_HOME", (dir_.path() / "cache").string()};
    test::ScopedEnv home_{"HOME", (dir_.path() / "home").string()};
};

TEST_P(DefaultLockFileTest, LiesInAFolderOnlyWeCanWriteTo) {
    if (std::string(GetParam().name).ends_with("AnotherUser") && ::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give a folder to another user";
    }
    ::unsetenv("XDG_RUNTIME_DIR");
    GetParam().prepare(dir_.path());
    const std::string expected = *GetParam().lockFile ? dir_.path() / GetParam().lockFile : "";
    EXPECT_EQ(LockFileInstanceGuard::defaultLockFile(), expected);
    LockFileInstanceGuard guard;
    EXPECT_TRUE(guard.acquire());
    if (!expected.empty()) {
        EXPECT_EQ(modeOf(fs::path(expected).parent_path()), 0700u);
        EXPECT_FALSE(LockFileInstanceGuard().acquire()) << "a second copy finds the lock";
    }
}

constexpr const char* kInState = "state/somnar-scheduler/somnar-scheduler.lock";
constexpr const char* kInCache = "cache/somnar-scheduler/somnar-scheduler.lock";
void setRuntime(const fs::path& path) {
    ::setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Places, DefaultLockFileTest,
    ::testing::Values(
        LockPlace{"RuntimeFolder", [](auto& r) { setRuntime(folder(r / "run", 0700)); },
                  "run/somnar-scheduler.lock"},
        LockPlace{"NoRuntimeFolder", [](auto&) {}, kInState},
        LockPlace{"RelativeRuntimeFolder", [](auto&) { setRuntime("relative/run"); }, kInState},
        LockPlace{"MissingRuntimeFolder", [](auto& r) { setRuntime(r / "missing"); }, kInState},
        LockPlace{"RuntimeFolderOpenToOthers", [](auto& r) { setRuntime(folder(r / "run", 0755)); },
                  kInState},
        LockPlace{"RuntimeFolderOfAnotherUser",
                  [](auto& r) { setRuntime(folder(r / "run", 0700, 65534)); }, kInState},
        LockPlace{"StateFolderUnderHome", [](auto&) { ::unsetenv("XDG_STATE_HOME"); },
                  "home/.local/state/somnar-scheduler/somnar-scheduler.lock"},
        LockPlace{"RelativeStateFolder", [](auto&) { ::setenv("XDG_STATE_HOME", "state", 1); },
                  "home/.local/state/somnar-scheduler/somnar-scheduler.lock"},
        LockPlace{"StateFolderOpenToOthers",
                  [](auto& r) { folder(r / "state/somnar-scheduler", 0755); }, kInCache},
        LockPlace{"StateFolderOfAnotherUser",
                  [](auto& r) { folder(r / "state/somnar-scheduler", 0700, 65534); }, kInCache},
        LockPlace{"CacheFolderUnderHome",
                  [](auto& r) {
                      test::writeFile(r / "state", "in the way");
                      ::unsetenv("XDG_CACHE_HOME");
                  },
                  "home/.cache/somnar-scheduler/somnar-scheduler.lock"},
        LockPlace{"NoPrivateFolder",
                  [](auto& r) {
                      folder(r / "state/somnar-scheduler", 0755);
                      folder(r / "cache/somnar-scheduler", 0777);
                  },
                  ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace somnar
