#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/sleep_state.h"

namespace somnar {

// An armed wake-up; destroying it takes the alarm back.
class ArmedAlarm {
  public:
    virtual ~ArmedAlarm() = default;
};

enum class AlarmError {
    None,
    NoPermission,  // the program may not set the alarm
    NoAlarmClock,  // the machine has no clock that can wake it from this state
    NotInFuture,   // the due time has already come
    Failed,        // any other refusal
};

struct AlarmResult {
    std::unique_ptr<ArmedAlarm> alarm;  // set when armed
    AlarmError error = AlarmError::None;
    // For the user, in German where it helps: what failed and how to grant what is missing.
    std::string detail;
};

// The clock that wakes the machine from a sleep state at a given time.
class WakeAlarm {
  public:
    virtual ~WakeAlarm() = default;

    virtual AlarmResult arm(SleepState state, std::chrono::sys_seconds due) = 0;
};

}  // namespace somnar
