#pragma once

#include <chrono>
#include <filesystem>

#include "platform/wake_alarm.h"

namespace somnar {

// Standby: a CLOCK_REALTIME_ALARM timer fd (TimerFdAlarm), which needs CAP_WAKE_ALARM.
// Hibernation: the real-time clock's wakealarm file (RtcWakeAlarm), which needs write
// access to it. A due time that has already come is refused before anything is set.
class LinuxWakeAlarm : public WakeAlarm {
  public:
    explicit LinuxWakeAlarm(std::filesystem::path rtcFolder = "/sys/class/rtc/rtc0",
                            std::filesystem::path adjtimeFile = "/etc/adjtime");

    AlarmResult arm(SleepState state, std::chrono::sys_seconds due) override;

  private:
    std::filesystem::path rtcFolder_;
    std::filesystem::path adjtimeFile_;
};

}  // namespace somnar
