#pragma once

namespace somnar {

// While the window's thread waits inside a long platform call (a sleep request waiting for
// authorisation, for the power service, for the wake-up), the windows go on painting and
// answering the window system, but the window model gets nothing: its timers do not tick
// and neither clicks, keys, clicks on the notification-area icon, dropped files nor the
// close box reach it. Holds nest; the model is held while any is alive. Shared by the Qt
// and the Win32 view; only the window's thread holds and asks.
class ModelHold {
  public:
    ModelHold() { ++holds(); }
    ~ModelHold() { --holds(); }
    ModelHold(const ModelHold&) = delete;
    ModelHold& operator=(const ModelHold&) = delete;

    // Whether the model is held now. One event loop per program, so one answer for all.
    static bool engaged() { return holds() > 0; }

  private:
    static int& holds() {
        static int count = 0;
        return count;
    }
};

}  // namespace somnar
