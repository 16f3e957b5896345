#include <sys/file.h>

#include <csignal>
#include <utility>

#include "backends/test_environment.h"
#include "platform/linux/lock_file_instance_guard.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;

// Another running copy: a forked child (as "nobody" when asked) that holds what `take` took
// until it is killed as a crash would kill it. Its process id, or -1 when it took nothing.
pid_t holder(const std::function<bool()>& take, bool asNobody = false) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool became = !asNobody || (::setresgid(65534, 65534, 65534) == 0 &&
                                          ::setresuid(65534, 65534, 65534) == 0);
        const char answer = became && take() ? 'y' : 'n';
        [[maybe_unused]] const ssize_t written = ::write(ready[1], &answer, 1);
        ::pause();
    }
    char answer = 0;
    const bool took = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
    ::close(ready[0]);
    ::close(ready[1]);
    return took ? pid : -1;
}

void crash(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

class InstanceGuardTest : public ::testing::Test {
  protected:
    test::TempDir dir_;
    fs::path lock_ = dir_.path() / "somnar-scheduler.lock";
};

// One copy runs until it ends or crashes (its file stays behind); the lock file is the
// owner's alone, no link is followed, and another user's file cannot keep us from starting.
TEST_F(InstanceGuardTest, OneCopyRunsAtATime) {
    const mode_t previous = ::umask(0);
    auto first = std::make_unique<LockFileInstanceGuard>(lock_);
    EXPECT_TRUE(first->acquire());
    ::umask(previous);
    EXPECT_EQ(test::modeOf(lock_), 0600u);
    EXPECT_TRUE(first->acquire()) << "asking again keeps the claim";
    LockFileInstanceGuard second(lock_);
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());

    LockFileInstanceGuard inChild(dir_.path() / "child.lock");  // acquired in the child only
    const pid_t child = holder([&] { return inChild.acquire(); });
    ASSERT_GT(child, 0);
    EXPECT_FALSE(LockFileInstanceGuard(dir_.path() / "child.lock").acquire());
    crash(child);
    EXPECT_TRUE(LockFileInstanceGuard(dir_.path() / "child.lock").acquire());

    fs::create_symlink(dir_.path() / "elsewhere", dir_.path() / "link.lock");
    EXPECT_TRUE(LockFileInstanceGuard(dir_.path() / "link.lock").acquire());
    EXPECT_FALSE(fs::exists(dir_.path() / "elsewhere"));
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give the lock file to another user";
    }
    const fs::path strangers = dir_.path() / "stranger.lock";
    fs::permissions(dir_.path(), fs::perms(0755));
    test::writeFile(strangers, "");
    ASSERT_EQ(::chown(strangers.c_str(), 65534, 65534), 0);
    const pid_t stranger =
        holder([&] { return ::flock(::open(strangers.c_str(), O_RDWR), LOCK_EX) == 0; }, true);
    ASSERT_GT(stranger, 0);
    EXPECT_TRUE(LockFileInstanceGuard(strangers).acquire());
    crash(stranger);
}

// The runtime folder, else our own folder under the state folder, else under the cache
// folder; one open to others or owned by another user (mode | 01000) is passed over.
TEST(DefaultLockFileTest, LiesInAFolderOnlyWeCanWriteTo) {
    constexpr const char* kState = "state/somnar-scheduler/somnar-scheduler.lock";
    constexpr const char* kCache = "cache/somnar-scheduler/somnar-scheduler.lock";
    const struct {
        const char* runtime;  // XDG_RUNTIME_DIR; "/..." below the test's folder
        std::vector<std::pair<const char*, mode_t>> folders;  // made below the test's folder
        const char* lockFile;                                 // below the test's folder; "": none
        const char* state = "state";  // XDG_STATE_HOME below the test's folder; "": unset
    } cases[] = {{"/run", {{"run", 0700}}, "run/somnar-scheduler.lock"},
                 {"run", {}, kState},  // relative
                 {"/run", {{"run", 0755}}, kState},
                 {"/run", {{"run", 01700}}, kState},
                 {"", {}, "home/.local/state/somnar-scheduler/somnar-scheduler.lock", ""},
                 {"", {{"state/somnar-scheduler", 01700}}, kCache},
                 {"", {{"state/somnar-scheduler", 0755}, {"cache/somnar-scheduler", 0777}}, ""}};
    for (const auto& c : cases) {
        test::TempDir dir;
        const std::string root = dir.path().string() + "/";
        const auto below = [&](const char* path) { return *path ? root + path : ""; };
        const test::ScopedEnv runtime("XDG_RUNTIME_DIR",
                                      *c.runtime == '/' ? root + c.runtime : c.runtime);
        const test::ScopedEnv state("XDG_STATE_HOME", below(c.state));
        const test::ScopedEnv cache("XDG_CACHE_HOME", root + "cache");
        const test::ScopedEnv home("HOME", root + "home");
        for (const auto& [folder, mode] : c.folders) {
            fs::create_directories(root + folder);
            ::chmod((root + folder).c_str(), mode & 0777);
            if (mode > 0777 && ::chown((root + folder).c_str(), 65534, 65534) != 0) {
                GTEST_SKIP() << "needs root to give a folder to another user";
            }
        }
        EXPECT_EQ(LockFileInstanceGuard::defaultLockFile(), below(c.lockFile));
        EXPECT_TRUE(LockFileInstanceGuard().acquire());
        if (*c.lockFile) {
            EXPECT_EQ(test::modeOf(fs::path(below(c.lockFile)).parent_path()), 0700u);
        }
    }
}

}  // namespace
}  // namespace somnar
