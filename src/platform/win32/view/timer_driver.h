#pragma once

#include <memory>
#include <vector>

#include "app/controls.h"
#include "layout/timer_run.h"
#include "platform/win32/windows_api.h"

namespace somnar::win32 {

// Runs one window timer per model timer, following its Enabled and interval, and
// delivers the ticks to the model on the window's thread. Windows sends no burst of
// ticks that fell due while the thread was busy; none reaches a held model.
class TimerDriver {
  public:
    explicit TimerDriver(HWND window) : window_(window) {}
    ~TimerDriver() { stopAll(); }
    TimerDriver(const TimerDriver&) = delete;
    TimerDriver& operator=(const TimerDriver&) = delete;

    void drive(Timer& timer);
    // A WM_TIMER of the window; false when the timer is none of the model's.
    bool tick(UINT_PTR id);
    void stopAll();

  private:
    struct Binding {
        Timer* model;
        UINT_PTR id;
        bool running;
        TimerRun run;
    };
    void follow(Binding& binding);

    HWND window_;
    std::vector<std::unique_ptr<Binding>> bindings_;
};

}  // namespace somnar::win32
