#pragma once

#include <string>

#include "platform/dialer.h"
#include "platform/program_starter.h"
#include "platform/sleep_state.h"
#include "platform/wake_alarm.h"

namespace somnar {

// The user's sentence for what a backend reported, with the remedy this system knows;
// empty when it reported no failure. Each platform supplies its own, so a user is never
// told a command of another system.
class FailureTexts {
  public:
    virtual ~FailureTexts() = default;

    virtual std::string dialFailure(const DialResult& result) const = 0;
    virtual std::string startFailure(const StartResult& result) const = 0;
    virtual std::string alarmFailure(SleepState state, const AlarmFailure& failure) const = 0;
};

}  // namespace somnar
