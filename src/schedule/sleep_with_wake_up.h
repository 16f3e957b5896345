#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "platform/clock.h"
#include "platform/power_manager.h"
#include "platform/wake_alarm.h"

namespace somnar {

// The shortest time from the machine going down to its wake-up. A wake-up closer than this
// when the power service announces the sleep (the user took long to authorise it) may
// already have fired, and the machine would sleep until somebody came: it is armed anew
// this far ahead instead.
inline constexpr std::chrono::seconds kShortestWakeLead{30};

struct WakeUpSleep {
    SleepResult slept;
    // Set when the wake-up was moved: armed anew for that moment, or tried.
    std::optional<std::chrono::sys_seconds> movedTo;
    // Why the moved wake-up could not be armed; ok() when it was.
    AlarmFailure rearm{};
};

// Sleeps with `armed`, the alarm for `due`, and keeps the wake-up ahead of the moment the
// machine goes down (see kShortestWakeLead); `armed` then holds the alarm now set, if any.
WakeUpSleep sleepWithWakeUp(PowerManager& power, WakeAlarm& wakeAlarm, const Clock& clock,
                            SleepState state, std::chrono::sys_seconds due,
                            std::unique_ptr<ArmedAlarm>& armed);

}  // namespace somnar
