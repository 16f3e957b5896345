#include "platform/linux/lock_file_instance_guard.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "backends/test_environment.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;

// A forked copy of this test that takes a lock and keeps it, like a second running
// program, until it is killed with SIGKILL (at the latest when the object goes).
class LockHolder {
  public:
    // take(report) runs in the child; report(taken) tells the parent whether the lock was
    // taken and then waits to be killed, so everything take() holds stays held.
    template <typename Take>
    explicit LockHolder(Take take) {
        int ready[2];
        if (::pipe(ready) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            const auto report = [fd = ready[1]](bool taken) {
                const char answer = taken ? 'y' : 'n';
                (void)::write(fd, &answer, 1);
                for (;;) {
                    ::pause();
                }
            };
            take(report);
            ::_exit(1);
        }
        ::close(ready[1]);
        char answer = 0;
        holds_ = pid_ > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
    }
    ~LockHolder() { kill(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    [[nodiscard]] bool holds() const { return holds_; }

    // Ends the child as a crash would: no clean-up code of its own runs.
    void kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

  private:
    pid_t pid_ = -1;
    bool holds_ = false;
};

mode_t modeOf(const fs::path& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0;
}

class InstanceGuardTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(dir_.path().empty()); }

    test::TempDir dir_;
    fs::path lock_ = dir_.path() / "somnar-scheduler.lock";
};

TEST_F(InstanceGuardTest, FirstCopyRunsAndCreatesOwnerOnlyLockFile) {
    const mode_t previous = ::umask(0);
    LockFileInstanceGuard guard(lock_);
    const bool acquired = guard.acquire();
    ::umask(previous);

    EXPECT_TRUE(acquired);
    EXPECT_EQ(modeOf(lock_), 0600u);
    EXPECT_TRUE(guard.acquire()) << "asking again keeps the claim";
}

TEST_F(InstanceGuardTest, SecondCopyIsRefusedUntilTheFirstEnds) {
    auto first = std::make_unique<LockFileInstanceGuard>(lock_);
    ASSERT_TRUE(first->acquire());

    LockFileInstanceGuard second(lock_);
    EXPECT_FALSE(second.acquire());

    first.reset();
    EXPECT_TRUE(second.acquire());
}

TEST_F(InstanceGuardTest, RunningProcessBlocksAndItsCrashFreesTheLock) {
    LockHolder running([this](const auto& report) {
        LockFileInstanceGuard guard(lock_);
        report(guard.acquire());
    });
    ASSERT_TRUE(running.holds());

    LockFileInstanceGuard guard(lock_);
    EXPECT_FALSE(guard.acquire());

    running.kill();
    ASSERT_TRUE(fs::exists(lock_)) << "the crashed run leaves its lock file behind";
    EXPECT_TRUE(guard.acquire());
}

TEST_F(InstanceGuardTest, SymbolicLinkAtTheLockPathIsNotFollowed) {
    const fs::path target = dir_.path() / "elsewhere";
    fs::create_symlink(target, lock_);

    LockFileInstanceGuard guard(lock_);
    EXPECT_TRUE(guard.acquire()) << "the program still starts";
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(InstanceGuardTest, LockFileOfAnotherUserCannotKeepTheProgramFromStarting) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give the lock file to another user";
    }
    std::ofstream(lock_) << "";
    ASSERT_EQ(::chown(lock_.c_str(), 65534, 65534), 0);
    LockHolder stranger([this](const auto& report) {
        const int fd = ::open(lock_.c_str(), O_RDWR | O_CLOEXEC);
        report(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0);
    });
    ASSERT_TRUE(stranger.holds());

    EXPECT_TRUE(LockFileInstanceGuard(lock_).acquire());
}

fs::path makeFolder(const fs::path& folder, mode_t mode) {
    fs::create_directories(folder);
    ::chmod(folder.c_str(), mode);
    return folder;
}

void skipWithoutRoot() {
    GTEST_SKIP() << "needs root to give a folder to another user";
}

fs::path folderOfAnotherUser(const fs::path& folder) {
    if (::chown(makeFolder(folder, 0700).c_str(), 65534, 65534) != 0) {
        skipWithoutRoot();
    }
    return folder;
}

void setEnv(const char* name, const fs::path& value) {
    ::setenv(name, value.c_str(), 1);
}

// Where the lock goes: the runtime folder, else a folder of our own under the state or the
// cache folder. prepare() gets the test's root, where the variables point at first: no
// XDG_RUNTIME_DIR, XDG_STATE_HOME=state, XDG_CACHE_HOME=cache, HOME=home.
struct LockPlace {
    const char* name;
    void (*prepare)(const fs::path& root);
    const char* lockFile;  // below the root; empty: none
};

class DefaultLockFileTest : public InstanceGuardTest,
                            public ::testing::WithParamInterface<LockPlace> {
  protected:
    fs::path root() const { return dir_.path(); }

    test::ScopedEnv runtime_{"XDG_RUNTIME_DIR", ""};
    test::ScopedEnv state_{"XDG_STATE_HOME", (root() / "state").string()};
    test::ScopedEnv cache_{"XDG_CACHE_HOME", (root() / "cache").string()};
    test::ScopedEnv home_{"HOME", (root() / "home").string()};
};

TEST_P(DefaultLockFileTest, LiesInAFolderOnlyWeCanWriteTo) {
    ::unsetenv("XDG_RUNTIME_DIR");
    GetParam().prepare(root());
    if (IsSkipped()) {
        return;
    }
    const fs::path expected =
        *GetParam().lockFile == '\0' ? fs::path() : root() / GetParam().lockFile;

    LockFileInstanceGuard guard;
    EXPECT_EQ(guard.lockFile(), expected);
    EXPECT_TRUE(guard.acquire());
    if (!expected.empty()) {
        EXPECT_EQ(modeOf(expected.parent_path()), 0700u);
        EXPECT_FALSE(LockFileInstanceGuard().acquire()) << "a second copy finds the lock";
    }
}

constexpr const char* kInState = "state/somnar-scheduler/somnar-scheduler.lock";
constexpr const char* kInCache = "cache/somnar-scheduler/somnar-scheduler.lock";

INSTANTIATE_TEST_SUITE_P(
    Places, DefaultLockFileTest,
    ::testing::Values(
        LockPlace{"RuntimeFolder",
                  [](const fs::path& r) { setEnv("XDG_RUNTIME_DIR", makeFolder(r / "run", 0700)); },
                  "run/somnar-scheduler.lock"},
        LockPlace{"NoRuntimeFolder", [](const fs::path&) {}, kInState},
        LockPlace{"RelativeRuntimeFolder",
                  [](const fs::path&) { ::setenv("XDG_RUNTIME_DIR", "relative/run", 1); },
                  kInState},
        LockPlace{"MissingRuntimeFolder",
                  [](const fs::path& r) { setEnv("XDG_RUNTIME_DIR", r / "missing"); }, kInState},
        LockPlace{"RuntimeFolderOpenToOthers",
                  [](const fs::path& r) { setEnv("XDG_RUNTIME_DIR", makeFolder(r / "run", 0755)); },
                  kInState},
        LockPlace{
            "RuntimeFolderOfAnotherUser",
            [](const fs::path& r) { setEnv("XDG_RUNTIME_DIR", folderOfAnotherUser(r / "run")); },
            kInState},
        LockPlace{"StateFolderUnderHome", [](const fs::path&) { ::unsetenv("XDG_STATE_HOME"); },
                  "home/.local/state/somnar-scheduler/somnar-scheduler.lock"},
        LockPlace{"RelativeStateFolder",
                  [](const fs::path&) { ::setenv("XDG_STATE_HOME", "state", 1); },
                  "home/.local/state/somnar-scheduler/somnar-scheduler.lock"},
        LockPlace{"StateFolderOpenToOthers",
                  [](const fs::path& r) { makeFolder(r / "state/somnar-scheduler", 0755); },
                  kInCache},
        LockPlace{"StateFolderOfAnotherUser",
                  [](const fs::path& r) { folderOfAnotherUser(r / "state/somnar-scheduler"); },
                  kInCache},
        LockPlace{"StateFolderCannotBeMade",
                  [](const fs::path& r) { std::ofstream(r / "state") << "x"; }, kInCache},
        LockPlace{"CacheFolderUnderHome",
                  [](const fs::path& r) {
                      std::ofstream(r / "state") << "x";
                      ::unsetenv("XDG_CACHE_HOME");
                  },
                  "home/.cache/somnar-scheduler/somnar-scheduler.lock"},
        LockPlace{"NoPrivateFolder",
                  [](const fs::path& r) {
                      makeFolder(r / "state/somnar-scheduler", 0755);
                      makeFolder(r / "cache/somnar-scheduler", 0777);
                  },
                  ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace somnar
