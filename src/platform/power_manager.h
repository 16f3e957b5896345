#pragma once

#include "platform/sleep_state.h"

namespace somnar {

enum class SleepOutcome {
    WokeUp,  // the machine slept and has woken again
    Failed,  // the machine did not go to sleep; returned at once
};

// The machine's sleep states, as the power service of the desktop offers them.
class PowerManager {
  public:
    virtual ~PowerManager() = default;

    virtual bool canHibernate() = 0;
    virtual bool canSuspend() = 0;

    // Puts the machine to sleep and returns only after it has woken again, or at once
    // when it does not go to sleep. Nothing else of the program runs meanwhile.
    virtual SleepOutcome sleep(SleepState state) = 0;

    // Keeps the machine and its display awake for the rest of the run.
    virtual void keepAwake() = 0;
};

}  // namespace somnar
