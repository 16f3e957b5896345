#include "layout/timer_run.h"

namespace somnar {

TimerRun::Step TimerRun::follow(const Timer& timer, bool running) {
    if (!timer.enabled() || timer.interval() <= 0) {
        return running ? Step::Stop : Step::Keep;
    }
    if (running && startsSeen_ == timer.startCount() && interval_ == timer.interval()) {
        return Step::Keep;
    }
    startsSeen_ = timer.startCount();
    interval_ = timer.interval();
    return Step::Start;
}

}  // namespace somnar
