#pragma once

// When a view's native timer for a timer control starts, starts afresh or stops.

#include "app/controls.h"

namespace somnar {

class TimerRun {
  public:
    enum class Step { Keep, Start, Stop };

    // What the native timer does now the control changed; `running` is whether it runs.
    // Switched on again, restarted by the model or given a new interval, the count starts
    // afresh; a running timer the model keeps as it is runs on undisturbed.
    Step follow(const Timer& timer, bool running);

  private:
    unsigned startsSeen_ = 0;
    int interval_ = 0;
};

}  // namespace somnar
