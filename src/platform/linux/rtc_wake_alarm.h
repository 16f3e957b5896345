#pragma once

#include <chrono>
#include <filesystem>

#include "platform/wake_alarm.h"

namespace somnar {

// The wake-up from hibernation: the real-time clock's own alarm, set through its
// "wakealarm" file in sysfs (the kernel's alarm timers program the clock on suspend
// only). Destroying the object clears the alarm.
class RtcWakeAlarm : public ArmedAlarm {
  public:
    // rtcFolder: the clock's sysfs folder (/sys/class/rtc/rtc0). adjtimeFile: where
    // hwclock notes whether the clock keeps UTC or local time (/etc/adjtime). Writes "0"
    // first (the kernel refuses a new alarm while one is set), then the due time.
    static AlarmResult arm(const std::filesystem::path& rtcFolder,
                           const std::filesystem::path& adjtimeFile, std::chrono::sys_seconds due);

    explicit RtcWakeAlarm(std::filesystem::path wakealarmFile);
    ~RtcWakeAlarm() override;
    RtcWakeAlarm(const RtcWakeAlarm&) = delete;
    RtcWakeAlarm& operator=(const RtcWakeAlarm&) = delete;

  private:
    std::filesystem::path file_;
};

}  // namespace somnar
