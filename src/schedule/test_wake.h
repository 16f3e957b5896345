#pragma once

#include <ostream>

#include "platform/clock.h"
#include "platform/failure_texts.h"
#include "platform/power_manager.h"
#include "platform/wake_alarm.h"

namespace somnar {

// A real sleep with a wake-up `ahead` seconds ahead, as the window makes it, measured: prints
// when the machine went down, when it woke and how late that was. 0 when it woke within 10 s
// of the set time; 1 when it could not be armed, did not sleep, or woke too early or too late.
// A system whose check can tell what is missing runs that check first.
int measureTestWake(PowerManager& power, WakeAlarm& wakeAlarm, Clock& clock,
                    const FailureTexts& texts, SleepState state, int ahead, std::ostream& out);

}  // namespace somnar
