#pragma once

#include "platform/linux/fd_wait.h"
#include "platform/linux/inhibitor_lock.h"
#include "platform/linux/sd_bus_handles.h"
#include "platform/power_manager.h"

#include <chrono>
#include <functional>

namespace somnar {

// How long each stage of a sleep may take, and how the time spent asleep is read.
struct SleepLimits {
    // From logind's acceptance to its announcement of the sleep.
    std::chrono::milliseconds start{30000};
    // From the announcement, awake time without any sign of the sleep (neither the resume
    // announced nor suspended time seen) after which the machine is taken to be awake.
    std::chrono::milliseconds resume{std::chrono::minutes(5)};
    // Once suspended time is seen, how long the resume announcement is still waited for.
    std::chrono::milliseconds resumeGrace{10000};
    // The time the machine has spent suspended since it booted (CLOCK_BOOTTIME running
    // ahead of CLOCK_MONOTONIC).
    std::function<std::chrono::nanoseconds()> suspendedTime{};
};

// The time this machine has spent suspended since it booted.
std::chrono::nanoseconds suspendedSinceBoot();

// Asks logind on `bus` to put the machine to sleep with `method` ("Hibernate" or
// "Suspend"), allowing it to ask for authentication, and waits through `waiter` until the
// machine has woken again. logind's answer is awaited without a limit of ours (it comes once
// the user has authenticated); an error answer ends the request with its kind and logind's
// words. Once logind has accepted, it must announce the sleep (PrepareForSleep(true)) within
// `limits.start`, else the machine is taken not to go down. At the announcement
// `goingDown` runs and then `delayLock`, a delay lock on sleep, is released, so that it
// holds logind back only until then; on every other way out it is released on return.
SleepResult sleepThroughLogind(sd_bus* bus, const char* method, InhibitorLock delayLock,
                               const std::function<void()>& goingDown, FdWait& waiter,
                               const SleepLimits& limits);

}  // namespace somnar
