#include "platform/linux/linux_wake_alarm.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "backends/test_environment.h"
#include "platform/linux/timer_fd_alarm.h"

namespace somnar {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

sys_seconds nowSeconds() {
    return floor<seconds>(system_clock::now());
}

std::string contentOf(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& file, const std::string& text) {
    std::ofstream(file) << text;
}

// The process's capability sets, read and written with the raw system calls.
struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
};

bool readCapabilities(Capabilities& caps) {
    return ::syscall(SYS_capget, &caps.header, caps.data) == 0;
}

constexpr unsigned kWord = CAP_WAKE_ALARM / 32;
constexpr std::uint32_t kBit = 1u << (CAP_WAKE_ALARM % 32);

bool holdsWakeAlarm() {
    Capabilities caps;
    return readCapabilities(caps) && (caps.data[kWord].effective & kBit) != 0;
}

// Leaves this process everything but CAP_WAKE_ALARM, for good.
bool dropWakeAlarm() {
    Capabilities caps;
    if (!readCapabilities(caps)) {
        return false;
    }
    caps.data[kWord].effective &= ~kBit;
    caps.data[kWord].permitted &= ~kBit;
    caps.data[kWord].inheritable &= ~kBit;
    return ::syscall(SYS_capset, &caps.header, caps.data) == 0 && !holdsWakeAlarm();
}

// False only when the kernel knows no wake-capable alarm clock at all; without the
// capability it says EPERM, which shows that it does.
bool kernelHasAlarmTimers() {
    const int fd = ::timerfd_create(CLOCK_REALTIME_ALARM, TFD_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    return errno != EINVAL && errno != ENODEV && errno != ENOTSUP;
}

// The kernel's own record of an open fd (/proc/self/fdinfo).
std::string fdInfo(int fd) {
    return contentOf("/proc/self/fdinfo/" + std::to_string(fd));
}

TEST(StandbyWakeAlarmTest, TimerOnTheWakeClockExpiresAtTheDueTime) {
    LinuxWakeAlarm wakeAlarm;
    const sys_seconds due = nowSeconds() + 2s;
    AlarmResult result = wakeAlarm.arm(SleepState::Standby, due);
    if (result.error == AlarmError::NoAlarmClock) {
        GTEST_SKIP() << "This kernel has no alarm timers: " << result.detail;
    }
    if (result.error == AlarmError::NoPermission && !holdsWakeAlarm()) {
        GTEST_SKIP() << "This test process lacks CAP_WAKE_ALARM: " << result.detail;
    }
    ASSERT_EQ(result.error, AlarmError::None) << result.detail;
    EXPECT_EQ(result.detail, "");
    const auto* timer = dynamic_cast<const TimerFdAlarm*>(result.alarm.get());
    ASSERT_NE(timer, nullptr);
    const int fd = timer->fd();

    // CLOCK_REALTIME_ALARM is clock 8; settime flag 1 is TFD_TIMER_ABSTIME.
    const std::string info = fdInfo(fd);
    EXPECT_NE(info.find("clockid: 8\n"), std::string::npos) << info;
    EXPECT_NE(info.find("settime flags: 01\n"), std::string::npos) << info;
    EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);

    pollfd ready{fd, POLLIN, 0};
    EXPECT_EQ(::poll(&ready, 1, 0), 0) << "expired before its time";
    ASSERT_EQ(::poll(&ready, 1, 5000), 1) << "did not expire within 5 s";
    EXPECT_GE(system_clock::now(), due);
    std::uint64_t expirations = 0;
    ASSERT_EQ(::read(fd, &expirations, sizeof expirations),
              static_cast<ssize_t>(sizeof expirations));
    EXPECT_EQ(expirations, 1u);

    result.alarm.reset();
    errno = 0;
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1) << "the timer fd stays open";
    EXPECT_EQ(errno, EBADF);
}

TEST(StandbyWakeAlarmTest, WithoutTheCapabilityTellsHowToGrantIt) {
    if (!kernelHasAlarmTimers()) {
        GTEST_SKIP() << "This kernel has no alarm timers (CLOCK_REALTIME_ALARM).";
    }
    std::error_code error;
    const fs::path self = fs::canonical(program_invocation_name, error);
    ASSERT_FALSE(error) << program_invocation_name;
    const std::string expected =
        "Das Programm darf keinen Weckzeitgeber stellen (es fehlt die Berechtigung "
        "CAP_WAKE_ALARM). Als root freischalten mit: setcap cap_wake_alarm+ep " +
        self.string();
    // The capability is dropped in a child process, so the other tests keep it.
    EXPECT_EXIT(
        {
            if (!dropWakeAlarm()) {
                std::fprintf(stderr, "could not drop CAP_WAKE_ALARM\n");
                std::_Exit(2);
            }
            const AlarmResult result = LinuxWakeAlarm().arm(SleepState::Standby, nowSeconds() + 1h);
            const bool refused = result.error == AlarmError::NoPermission && !result.alarm;
            if (!refused || result.detail != expected) {
                std::fprintf(stderr, "error %d, detail: %s\n", static_cast<int>(result.error),
                             result.detail.c_str());
                std::_Exit(1);
            }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

// A folder standing in for /sys/class/rtc/rtc0 with its wakealarm file.
class HibernateWakeAlarmTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(temp_.path().empty());
        ASSERT_TRUE(fs::create_directory(rtc_));
    }

    AlarmResult arm(sys_seconds due) {
        return LinuxWakeAlarm(rtc_, adjtime_).arm(SleepState::Hibernate, due);
    }

    static std::string value(sys_seconds moment) {
        return std::to_string(moment.time_since_epoch().count()) + "\n";
    }

    test::TempDir temp_;
    fs::path rtc_ = temp_.path() / "rtc0";
    fs::path wakealarm_ = rtc_ / "wakealarm";
    fs::path adjtime_ = temp_.path() / "adjtime";  // none: the clock keeps UTC
};

TEST_F(HibernateWakeAlarmTest, ClearsTheClockThenSetsTheDueTime) {
    // A named pipe keeps every write in order. Opened for reading and writing, it never
    // blocks a writer and never reads as ended.
    ASSERT_EQ(::mkfifo(wakealarm_.c_str(), 0600), 0);
    const int pipe = ::open(wakealarm_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(pipe, 0);
    const auto drain = [pipe] {
        std::string written;
        char buffer[256];
        for (ssize_t count; (count = ::read(pipe, buffer, sizeof buffer)) > 0;) {
            written.append(buffer, static_cast<std::size_t>(count));
        }
        return written;
    };

    const sys_seconds due = nowSeconds() + 2h;
    AlarmResult result = arm(due);
    ASSERT_EQ(result.error, AlarmError::None) << result.detail;
    EXPECT_NE(result.alarm, nullptr);
    EXPECT_EQ(drain(), "0\n" + value(due));

    result.alarm.reset();
    EXPECT_EQ(drain(), "0\n");
    ::close(pipe);
}

TEST_F(HibernateWakeAlarmTest, FileHoldsTheDueTimeWhileArmedAndZeroAfter) {
    writeFile(wakealarm_, "untouched");
    const sys_seconds due = nowSeconds() + 10min;
    AlarmResult result = arm(due);
    ASSERT_EQ(result.error, AlarmError::None) << result.detail;
    EXPECT_EQ(contentOf(wakealarm_), value(due));
    result.alarm.reset();
    EXPECT_EQ(contentOf(wakealarm_), "0\n");
}

TEST_F(HibernateWakeAlarmTest, ClockInLocalTimeGetsTheLocalWallClockOfTheDueTime) {
    const test::ScopedEnv zone("TZ", "Europe/Berlin");
    writeFile(wakealarm_, "");
    // What the file holds while the alarm is armed.
    const auto armedValue = [this](sys_seconds due) {
        const AlarmResult result = arm(due);
        EXPECT_EQ(result.error, AlarmError::None) << result.detail;
        return contentOf(wakealarm_);
    };
    const sys_seconds summer = sys_days{2040y / July / 1} + 10h;
    const sys_seconds winter = sys_days{2040y / January / 15} + 10h;

    writeFile(adjtime_, "0.000000 1790000000 0.000000\n1790000000\nLOCAL\n");
    EXPECT_EQ(armedValue(summer), value(sys_days{2040y / July / 1} + 12h));
    EXPECT_EQ(armedValue(winter), value(sys_days{2040y / January / 15} + 11h));

    writeFile(adjtime_, "0.000000 1790000000 0.000000\n1790000000\nUTC\n");
    EXPECT_EQ(armedValue(summer), value(summer));
}

TEST_F(HibernateWakeAlarmTest, DueTimeThatHasComeIsRefusedBeforeTouchingTheClock) {
    writeFile(wakealarm_, "untouched");
    for (const sys_seconds due : {nowSeconds(), nowSeconds() - 1h}) {
        const AlarmResult result = arm(due);
        EXPECT_EQ(result.error, AlarmError::NotInFuture);
        EXPECT_EQ(result.alarm, nullptr);
        EXPECT_EQ(result.detail, "Die Weckzeit ist schon vorbei.");
    }
    EXPECT_EQ(contentOf(wakealarm_), "untouched");
}

TEST(StandbyWakeAlarmTest, DueTimeThatHasComeIsRefused) {
    LinuxWakeAlarm wakeAlarm;
    for (const sys_seconds due : {nowSeconds(), nowSeconds() - 1h}) {
        const AlarmResult result = wakeAlarm.arm(SleepState::Standby, due);
        EXPECT_EQ(result.error, AlarmError::NotInFuture);
        EXPECT_EQ(result.alarm, nullptr);
        EXPECT_EQ(result.detail, "Die Weckzeit ist schon vorbei.");
    }
}

TEST_F(HibernateWakeAlarmTest, MachineWithoutAlarmClockIsTold) {
    const fs::path missing = temp_.path() / "rtc9";
    const AlarmResult noFolder =
        LinuxWakeAlarm(missing, adjtime_).arm(SleepState::Hibernate, nowSeconds() + 1h);
    EXPECT_EQ(noFolder.error, AlarmError::NoAlarmClock);
    EXPECT_EQ(noFolder.alarm, nullptr);
    EXPECT_EQ(noFolder.detail,
              "Dieser Rechner hat keine Echtzeituhr, die ihn aus dem Ruhezustand wecken kann: " +
                  (missing / "wakealarm").string() + " gibt es nicht.");

    // A clock whose driver cannot wake the machine has no wakealarm file.
    const AlarmResult noFile = arm(nowSeconds() + 1h);
    EXPECT_EQ(noFile.error, AlarmError::NoAlarmClock);
    EXPECT_EQ(noFile.detail,
              "Dieser Rechner hat keine Echtzeituhr, die ihn aus dem Ruhezustand wecken kann: " +
                  wakealarm_.string() + " gibt es nicht.");
}

TEST_F(HibernateWakeAlarmTest, ReadOnlyClockFileTellsHowToGrantAccess) {
    writeFile(wakealarm_, "untouched");
    const std::string expected =
        "Das Programm darf die Weckzeit der Echtzeituhr nicht setzen: keine Schreibberechtigung "
        "für " +
        wakealarm_.string() +
        ". Die Installation gibt den Benutzern des Programms Schreibrecht darauf (eine "
        "udev-Regel, die einer Gruppe Schreibrecht gibt). Prüfen mit: ls -l " +
        wakealarm_.string();
    const auto attempt = [&] {
        const AlarmResult result = arm(nowSeconds() + 1h);
        if (result.error != AlarmError::NoPermission || result.alarm || result.detail != expected) {
            std::fprintf(stderr, "error %d, detail: %s\n", static_cast<int>(result.error),
                         result.detail.c_str());
            return false;
        }
        return true;
    };
    if (::geteuid() != 0) {
        fs::permissions(wakealarm_, fs::perms::owner_read | fs::perms::group_read);
        EXPECT_TRUE(attempt());
    } else {
        // Root writes any file: a child process tries as the user "nobody" on the file
        // as sysfs offers it, 0644 and owned by root.
        constexpr uid_t kNobody = 65534;
        const auto open = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec;
        fs::permissions(temp_.path(), open);
        fs::permissions(rtc_, open);
        fs::permissions(wakealarm_, fs::perms::owner_read | fs::perms::owner_write |
                                        fs::perms::group_read | fs::perms::others_read);
        EXPECT_EXIT(
            {
                if (::setresgid(kNobody, kNobody, kNobody) != 0 ||
                    ::setresuid(kNobody, kNobody, kNobody) != 0) {
                    std::fprintf(stderr, "could not become nobody\n");
                    std::_Exit(2);
                }
                std::_Exit(attempt() ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
    }
    EXPECT_EQ(contentOf(wakealarm_), "untouched");
}

}  // namespace
}  // namespace somnar
