#pragma once

#include "platform/power_manager.h"
#include "platform/win32/responsive_call.h"

#include <functional>

namespace somnar::win32 {

// The machine's sleep states through the system's power management (powrprof).
class WindowsPowerManager final : public PowerManager {
  public:
    // Puts the machine into hibernation (true) or standby and returns after waking; false
    // with the reason in GetLastError when the system refuses.
    using SuspendCall = std::function<bool(bool hibernate)>;

    // `responsive` runs the sleep call, which returns only after waking, so that the window
    // keeps painting. `suspend`: SetSuspendState unless given.
    explicit WindowsPowerManager(ResponsiveCall& responsive, SuspendCall suspend = {});

    // True when the system allows the state now (IsPwrHibernateAllowed,
    // IsPwrSuspendAllowed).
    bool canHibernate() override;
    bool canSuspend() override;
    // "yes" when allowed; "na" when the machine lacks the state altogether (its power
    // capabilities have no S4, or none of S1 to S3); "no" when it has the state but the
    // system does not allow it (hibernation switched off, no hibernation file).
    std::optional<std::string> sleepAnswer(SleepState state) override;

    // Takes the shutdown privilege (refused: NotAuthorized with the system's words), runs
    // `goingDown` (nobody is asked first on Windows, so just before the call is the last
    // moment to set the wake-up right), then SetSuspendState without forcing and with wake
    // events allowed. A refusal comes back with the system's words: NotAuthorized for a
    // missing privilege, NotSupported for a state the machine does not have, Refused else.
    SleepResult sleep(SleepState state, const std::function<void()>& goingDown) override;

    // The machine and its display stay on (SetThreadExecutionState, continuous) for as long
    // as the calling thread runs: call it from the user-interface thread.
    void keepAwake() override;

  private:
    ResponsiveCall& responsive_;
    SuspendCall suspend_;
};

}  // namespace somnar::win32
