#pragma once

#include <string>

#include "platform/power_manager.h"

namespace somnar {

// Why the machine did not go to sleep, in German: one sentence for the kind of refusal,
// then the power service's own words after `lineBreak` where it gave any.
std::string sleepRefusalText(SleepState state, const SleepResult& result,
                             const std::string& lineBreak = "\r\n");

}  // namespace somnar
