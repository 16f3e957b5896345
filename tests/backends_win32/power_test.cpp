// The wake-up timer and the power manager against Wine: its timers go off on time, it
// ignores every resume request (722), allows hibernation but not standby, and its
// SetSuspendState returns at once as if the machine had woken.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/win32/system_error_text.h"
#include "platform/win32/waitable_timer_wake_alarm.h"
#include "platform/win32/waitable_wake_timer.h"
#include "platform/win32/windows_power_manager.h"

#include <string>
#include <vector>

namespace somnar::win32 {
namespace {

using namespace std::chrono;

sys_seconds inSeconds(int seconds) {
    return ceil<std::chrono::seconds>(system_clock::now()) + std::chrono::seconds(seconds);
}

TEST(WakeTimerTest, TheTimerGoesOffAtItsUtcDueTimeAndLettingItGoCancelsIt) {
    for (const WORD year : {1970, 2000, 2026}) {
        const SYSTEMTIME utc{year, 12, 0, 6, 9, 30, 15, 0};
        FILETIME expected{};
        ASSERT_TRUE(::SystemTimeToFileTime(&utc, &expected));
        const sys_seconds moment = sys_days{std::chrono::year{year} / 12 / 6} + 9h + 30min + 15s;
        EXPECT_EQ(fileTimeOf(moment),
                  static_cast<long long>((ULONGLONG{expected.dwHighDateTime} << 32) |
                                         expected.dwLowDateTime));
    }
    const sys_seconds due = inSeconds(2);
    WakeTimer set = setWakeTimer(due);
    ASSERT_TRUE(set.timer);
    EXPECT_TRUE(set.resumeIgnored);  // Wine never wakes a machine
    EXPECT_EQ(set.error, 722u);
    EXPECT_EQ(::WaitForSingleObject(set.timer.get(), 1000), WAIT_TIMEOUT);
    EXPECT_EQ(::WaitForSingleObject(set.timer.get(), 3000), WAIT_OBJECT_0);
    const auto late = system_clock::now() - due;
    EXPECT_GT(late, -20ms);
    EXPECT_LT(late, 500ms);

    WakeTimer dropped = setWakeTimer(inSeconds(1));
    HANDLE watcher = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), dropped.timer.get(), ::GetCurrentProcess(),
                                  &watcher, 0, FALSE, DUPLICATE_SAME_ACCESS));
    dropped.timer.reset();
    EXPECT_EQ(::WaitForSingleObject(watcher, 2500), WAIT_TIMEOUT);
    ::CloseHandle(watcher);
}

// An alarm the system would not wake the machine for is no alarm: nothing is armed.
TEST(WaitableTimerWakeAlarmTest, AnIgnoredResumeRequestIsNoAlarmClockAndThePastIsRefused) {
    WaitableTimerWakeAlarm alarm;
    for (const SleepState state : {SleepState::Standby, SleepState::Hibernate}) {
        const AlarmResult ignored = alarm.arm(state, inSeconds(60));
        EXPECT_EQ(ignored.error, AlarmError::NoAlarmClock);
        EXPECT_FALSE(ignored.alarm);
        EXPECT_EQ(ignored.systemError, systemErrorText(722));
        EXPECT_FALSE(ignored.systemError.empty());
        const AlarmResult past = alarm.arm(state, floor<seconds>(system_clock::now()));
        EXPECT_EQ(past.error, AlarmError::NotInFuture);
        EXPECT_FALSE(past.alarm);
    }
}

// Runs the call as the window's pumping call would, and notes that it did.
struct NotingCall : ResponsiveCall {
    explicit NotingCall(std::vector<std::string>& events) : events(events) {}
    void run(const std::function<void()>& call) override {
        events.push_back("window keeps painting");
        call();
    }
    std::vector<std::string>& events;
};

TEST(WindowsPowerManagerTest, TheLastMomentStepRunsJustBeforeTheSleepCallAndRefusalsAreTold) {
    DirectCall direct;
    WindowsPowerManager wine(direct);
    EXPECT_TRUE(wine.canHibernate());
    EXPECT_FALSE(wine.canSuspend());
    EXPECT_EQ(wine.sleepAnswer(SleepState::Hibernate), "yes");
    EXPECT_EQ(wine.sleepAnswer(SleepState::Standby), "no");  // it has S1, but does not allow it
    int goingDown = 0;
    const auto before = system_clock::now();
    const SleepResult woke = wine.sleep(SleepState::Hibernate, [&] { ++goingDown; });
    EXPECT_EQ(woke.outcome, SleepOutcome::WokeUp);
    EXPECT_EQ(goingDown, 1);
    ASSERT_TRUE(woke.wentDownAt);
    EXPECT_GE(*woke.wentDownAt, floor<milliseconds>(before));

    const struct {
        DWORD error;
        SleepOutcome outcome;
    } refusals[] = {{ERROR_SUCCESS, SleepOutcome::WokeUp},
                    {ERROR_ACCESS_DENIED, SleepOutcome::NotAuthorized},
                    {ERROR_PRIVILEGE_NOT_HELD, SleepOutcome::NotAuthorized},
                    {ERROR_NOT_SUPPORTED, SleepOutcome::NotSupported},
                    {ERROR_NOT_READY, SleepOutcome::Refused}};
    for (const auto& r : refusals) {
        std::vector<std::string> events;
        NotingCall noting(events);
        WindowsPowerManager power(noting, [&](bool hibernate) {
            events.push_back(hibernate ? "hibernate" : "standby");
            ::SetLastError(r.error);
            return r.error == ERROR_SUCCESS;
        });
        const SleepResult result =
            power.sleep(SleepState::Standby, [&] { events.push_back("going down"); });
        EXPECT_EQ(events,
                  (std::vector<std::string>{"going down", "window keeps painting", "standby"}));
        EXPECT_EQ(result.outcome, r.outcome) << r.error;
        EXPECT_EQ(result.detail, r.error ? systemErrorText(r.error) : "");
        EXPECT_EQ(result.wentDownAt.has_value(), r.error == ERROR_SUCCESS);
    }
    wine.keepAwake();
    EXPECT_EQ(::SetThreadExecutionState(ES_CONTINUOUS),
              ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}

}  // namespace
}  // namespace somnar::win32
