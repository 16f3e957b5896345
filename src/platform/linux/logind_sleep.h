#pragma once

#include "platform/linux/inhibitor_lock.h"
#include "platform/linux/sd_bus_handles.h"
#include "platform/power_manager.h"

#include <chrono>

namespace somnar {

// Asks logind on `bus` to put the machine to sleep with `method` ("Hibernate" or
// "Suspend"), allowing it to ask for authentication, and blocks until the machine has
// woken again. logind's answer is awaited without a limit of ours (it comes once the user
// has authenticated); an error answer ends the request with its kind and logind's words.
// Once logind has accepted, it must announce the sleep (PrepareForSleep(true)) within
// `startLimit`, else the machine is taken not to go down. `delayLock`, a delay lock on
// sleep, is released as soon as the sleep is announced, so that it holds logind back only
// until then; on every other way out it is released on return.
SleepResult sleepThroughLogind(sd_bus* bus, const char* method, InhibitorLock delayLock,
                               std::chrono::milliseconds startLimit);

}  // namespace somnar
