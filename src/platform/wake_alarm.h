#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/result.h"
#include "platform/sleep_state.h"

namespace somnar {

// An armed wake-up; destroying it takes the alarm back.
class ArmedAlarm {
  public:
    virtual ~ArmedAlarm() = default;
};

enum class AlarmError {
    None,
    NoPermission,  // the program may not set the alarm; detail: the program file (standby)
                   // or the clock's alarm file (hibernation)
    NoAlarmClock,  // the machine has no clock that can wake it from this state; detail: the
                   // clock's missing alarm file (hibernation)
    NotInFuture,   // the due time has already come
    Failed,        // any other refusal; detail: the clock's alarm file (hibernation)
};

using AlarmFailure = Outcome<AlarmError>;

// The failure, if any, and beside it the armed alarm.
struct AlarmResult : AlarmFailure {
    std::unique_ptr<ArmedAlarm> alarm;  // set when armed
};

// The clock that wakes the machine from a sleep state at a given time.
class WakeAlarm {
  public:
    virtual ~WakeAlarm() = default;

    virtual AlarmResult arm(SleepState state, std::chrono::sys_seconds due) = 0;
};

}  // namespace somnar
