#pragma once

#include <optional>
#include <string>

#include "platform/sleep_state.h"
#include "wake/after_wake_plan.h"

namespace somnar {

// What the user confirms before the machine sleeps. sleepAt: the set sleep moment as the
// pickers show it, empty for a sleep at once; wakeUp: the wake-up moment, empty when the
// machine is not to wake by itself.
std::string confirmationText(SleepState state, const std::optional<std::string>& sleepAt,
                             const std::optional<std::string>& wakeUp, const AfterWakePlan& plan);

}  // namespace somnar
