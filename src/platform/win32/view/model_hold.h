#pragma once

namespace somnar::win32 {

// While the window's thread waits for a long platform call (the sleep), the windows go
// on painting but the window model gets nothing: its timers do not tick and neither
// clicks, keys, dropped files, the close box nor the notification-area icon reach it.
// Holds nest; the model is held while any is alive.
class ModelHold {
  public:
    ModelHold();
    ~ModelHold();
    ModelHold(const ModelHold&) = delete;
    ModelHold& operator=(const ModelHold&) = delete;

    // Whether the model is held now; only the window's thread holds and asks.
    static bool engaged();
};

}  // namespace somnar::win32
