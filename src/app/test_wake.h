#pragma once

#include <ostream>

#include "app/preflight_check.h"

namespace somnar {

// A real sleep with a wake-up `ahead` seconds ahead, as the window makes it, measured: prints when
// the machine went down, when it woke and how late that was. 0 when it woke within 10 s of
// the set time; 1 when it could not be armed, did not sleep, or woke too early or too late.
int runTestWake(CheckServices& services, SleepState state, int ahead, std::ostream& out);

// The same without the check first, where arming the alarm itself tells what is missing
// (Windows: the power plan's wake timers).
int measureTestWake(PowerManager& power, WakeAlarm& wakeAlarm, Clock& clock, SleepState state,
                    int ahead, std::ostream& out);

}  // namespace somnar
