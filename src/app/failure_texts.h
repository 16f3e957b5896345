#pragma once

#include <string>

#include "platform/dialer.h"
#include "platform/program_starter.h"
#include "platform/sleep_state.h"
#include "platform/wake_alarm.h"

namespace somnar {

// The user's sentence for what a backend reported; empty when it reported no failure.

std::string dialFailureText(const DialResult& result);
std::string startFailureText(const StartResult& result);
// The standby alarm is the kernel's timer, the hibernation alarm the real-time clock's.
std::string alarmFailureText(SleepState state, const AlarmFailure& failure);

}  // namespace somnar
