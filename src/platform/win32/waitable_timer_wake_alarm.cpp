#include "platform/win32/waitable_timer_wake_alarm.h"

#include "platform/win32/system_error_text.h"
#include "platform/win32/waitable_wake_timer.h"
#include "platform/win32/wake_timer_policy.h"

namespace somnar::win32 {
namespace {

class ArmedTimer final : public ArmedAlarm {
  public:
    explicit ArmedTimer(TimerHandle timer) : timer_(std::move(timer)) {}

  private:
    TimerHandle timer_;
};

}  // namespace

AlarmResult WaitableTimerWakeAlarm::arm(SleepState, std::chrono::sys_seconds due) {
    AlarmResult result;
    // The system clock, which the timer counts on: a timer in the past would go off at once.
    if (due <= std::chrono::system_clock::now()) {
        result.error = AlarmError::NotInFuture;
        return result;
    }
    WakeTimer set = setWakeTimer(due);
    if (set.timer && !set.resumeIgnored) {
        if (std::optional<std::string> forbidden = wakeTimersForbidden()) {
            result.error = AlarmError::NoAlarmClock;
            result.systemError = std::move(*forbidden);
            return result;  // the timer goes with `set`
        }
        result.alarm = std::make_unique<ArmedTimer>(std::move(set.timer));
        return result;
    }
    result.error = set.resumeIgnored ? AlarmError::NoAlarmClock : AlarmError::Failed;
    result.systemError = systemErrorText(set.error);
    return result;
}

}  // namespace somnar::win32
