#include "platform/linux/linux_wake_alarm.h"

#include "platform/linux/rtc_wake_alarm.h"
#include "platform/linux/timer_fd_alarm.h"

namespace somnar {

LinuxWakeAlarm::LinuxWakeAlarm(std::filesystem::path rtcFolder, std::filesystem::path adjtimeFile)
    : rtcFolder_(std::move(rtcFolder)), adjtimeFile_(std::move(adjtimeFile)) {}

AlarmResult LinuxWakeAlarm::arm(SleepState state, std::chrono::sys_seconds due) {
    // CLOCK_REALTIME, the clock both alarms count on. A timer armed in the past would
    // expire at once and a clock alarm in the past would never wake the machine.
    if (due <= std::chrono::system_clock::now()) {
        AlarmResult result;
        result.error = AlarmError::NotInFuture;
        return result;
    }
    if (state == SleepState::Standby) {
        return TimerFdAlarm::arm(due);
    }
    return RtcWakeAlarm::arm(rtcFolder_, adjtimeFile_, due);
}

}  // namespace somnar
