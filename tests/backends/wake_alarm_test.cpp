// The clock: wake alarms and the local time.

#include <QLocale>
#include "platform/linux/linux_wake_alarm.h"
#include "platform/linux/system_clock.h"
#include "platform/linux/timer_fd_alarm.h"

#include <poll.h>

#include "backends/test_environment.h"

namespace somnar {
namespace {

using namespace std::chrono;
using test::contentOf;
using test::writeFile;

sys_seconds nowSeconds() {
    return floor<seconds>(system_clock::now());
}

TEST(StandbyWakeAlarmTest, TimerOnTheAlarmClockExpiresAtTheDueTimeOrNamesThisProgramFile) {
    const sys_seconds due = nowSeconds() + 2s;
    AlarmResult result = LinuxWakeAlarm().arm(SleepState::Standby, due);
    if (result.error == AlarmError::NoAlarmClock || result.error == AlarmError::NoPermission) {
        GTEST_SKIP() << "no alarm timers or no CAP_WAKE_ALARM here";
    }
    ASSERT_TRUE(result.ok());
    const auto* timer = dynamic_cast<const TimerFdAlarm*>(result.alarm.get());
    ASSERT_NE(timer, nullptr);
    const int fd = timer->fd();
    // CLOCK_REALTIME_ALARM is clock 8; settime flag 1 is TFD_TIMER_ABSTIME.
    const std::string info = contentOf("/proc/self/fdinfo/" + std::to_string(fd));
    EXPECT_NE(info.find("clockid: 8\n"), std::string::npos) << info;
    EXPECT_NE(info.find("settime flags: 01\n"), std::string::npos) << info;
    EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);

    pollfd ready{fd, POLLIN, 0};
    EXPECT_EQ(::poll(&ready, 1, 0), 0) << "expired before its time";
    ASSERT_EQ(::poll(&ready, 1, 5000), 1) << "did not expire within 5 s";
    EXPECT_GE(system_clock::now(), due);
    result.alarm.reset();
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1) << "the timer fd stays open";
    // Without CAP_WAKE_ALARM (as "nobody") the program file to grant it to is named.
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    EXPECT_TRUE(test::asNobody([&] {
        const AlarmResult refused = LinuxWakeAlarm().arm(SleepState::Standby, due + 1h);
        return refused.error == AlarmError::NoPermission && !refused.alarm &&
               refused.detail == self && refused.systemError.empty();
    }));
}

// A folder standing in for /sys/class/rtc/rtc0 with its wakealarm file.
class ClockAlarmTest : public ::testing::Test {
  protected:
    AlarmResult arm(sys_seconds due, SleepState state = SleepState::Hibernate) {
        return LinuxWakeAlarm(rtc_.path(), adjtime_).arm(state, due);
    }

    test::TempDir rtc_;
    fs::path wakealarm_ = rtc_.path() / "wakealarm";
    fs::path adjtime_ = rtc_.path() / "adjtime";
};

// The clock is cleared, then set to the due time, and cleared again when the alarm is taken
// back; a clock kept in local time (the third line of adjtime) gets the local wall clock.
TEST_F(ClockAlarmTest, ClearsTheClockThenSetsTheDueTimeAndClearsItWhenTakenBack) {
    // A named pipe keeps every write in order; opened for both, it never blocks a writer.
    ASSERT_EQ(::mkfifo(wakealarm_.c_str(), 0600), 0);
    const int pipe = ::open(wakealarm_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    const auto drain = [pipe] {
        std::string written(256, '\0');
        const ssize_t count = ::read(pipe, written.data(), written.size());
        written.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
        return written;
    };
    const test::ScopedEnv zone("TZ", "Europe/Berlin");
    const sys_seconds summer = sys_days{2040y / July / 1} + 10h;
    for (const auto& [adjtime, shift] : {std::pair{"", 0h},
                                         {"0.0 0 0.0\n0\n  LOCAL \n", 2h},
                                         {"0.0 0 0.0\n0\nUTC\n", 0h},
                                         {"0.0 0 0.0\nLOCAL\n", 0h}}) {
        writeFile(adjtime_, adjtime);
        AlarmResult result = arm(summer);
        ASSERT_TRUE(result.ok());
        EXPECT_NE(result.alarm, nullptr);
        EXPECT_EQ(drain(),
                  "0\n" + std::to_string((summer + shift).time_since_epoch().count()) + "\n")
            << adjtime;
        result.alarm.reset();
        EXPECT_EQ(drain(), "0\n");
    }
    ::close(pipe);
}

// A due time that has come is refused before any clock is touched; every other refusal
// names the clock's file.
TEST_F(ClockAlarmTest, EachRefusalNamesTheClocksFile) {
    writeFile(wakealarm_, "untouched");
    EXPECT_EQ(arm(nowSeconds(), SleepState::Standby).error, AlarmError::NotInFuture);
    EXPECT_EQ(contentOf(wakealarm_), "untouched");
    fs::remove(wakealarm_);
    const auto refused = [this](AlarmError error, std::string systemError) {
        const AlarmResult result = arm(nowSeconds() + 1h);
        return result.error == error && !result.alarm && result.detail == wakealarm_.string() &&
               result.systemError == systemError;
    };
    // A clock whose driver cannot wake the machine has no wakealarm file.
    EXPECT_TRUE(refused(AlarmError::NoAlarmClock, ""));
    fs::create_directory(wakealarm_);
    EXPECT_TRUE(refused(AlarmError::Failed, "Is a directory"));
    fs::remove(wakealarm_);
    // As sysfs offers it: 0644 and owned by root.
    writeFile(wakealarm_, "untouched");
    fs::permissions(rtc_.path(), fs::perms(0755));
    fs::permissions(wakealarm_, fs::perms(::geteuid() == 0 ? 0644 : 0444));
    EXPECT_TRUE(test::asNobody([&] { return refused(AlarmError::NoPermission, ""); }));
    EXPECT_EQ(contentOf(wakealarm_), "untouched");
}

sys_seconds onCalendar(const LocalDateTime& t) {
    return sys_days{year{t.year} / t.month / t.day} + hours{t.hour} + minutes{t.minute} +
           seconds{t.second};
}

// A wake-up set across a change to or from summer time comes at the time the user picked:
// a skipped time counts with the offset before the change, a repeated one is its first.
TEST(SystemClockTest, LocalTimesBecomeUtcByTheRulesOfTheirOwnDate) {
    const struct {
        const char* zone;
        LocalDateTime local;
        std::optional<LocalDateTime> utc;
    } cases[] = {{"Europe/Berlin", {2026, 7, 15, 12, 0, 42}, {{2026, 7, 15, 10, 0, 42}}},
                 {"Europe/Berlin", {2027, 3, 28, 2, 30, 0}, {{2027, 3, 28, 1, 30, 0}}},
                 {"Europe/Berlin", {2027, 3, 28, 3, 0, 0}, {{2027, 3, 28, 1, 0, 0}}},
                 {"Europe/Berlin", {2026, 10, 25, 2, 30, 0}, {{2026, 10, 25, 0, 30, 0}}},
                 {"Europe/Berlin", {2026, 10, 25, 3, 0, 0}, {{2026, 10, 25, 2, 0, 0}}},
                 // Changes of standard time, which the summer-time flag cannot tell.
                 {"Europe/Moscow", {2014, 10, 26, 1, 30, 0}, {{2014, 10, 25, 21, 30, 0}}},
                 {"Pacific/Apia", {2011, 12, 31, 12, 0, 0}, {{2011, 12, 30, 22, 0, 0}}},
                 {"UTC0", {2028, 2, 29, 12, 0, 0}, {{2028, 2, 29, 12, 0, 0}}},
                 {"UTC0", {2027, 2, 29, 12, 0, 0}, {}}};
    const SystemClock clock(QLocale::c());
    for (const auto& c : cases) {
        const test::ScopedEnv zone("TZ", c.zone);
        const auto expected = c.utc ? std::optional(onCalendar(*c.utc)) : std::nullopt;
        EXPECT_EQ(clock.localToUtc(c.local), expected)
            << c.zone << " " << c.local.day << "." << c.local.month << ". " << c.local.hour;
    }
}

}  // namespace
}  // namespace somnar
