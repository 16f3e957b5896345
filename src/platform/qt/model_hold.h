#pragma once

namespace somnar {

// While the window's thread waits inside a platform call (a sleep request waiting for the
// user's authorisation, for logind, for the wake-up), the event loop runs so that the
// windows paint and answer the window manager, but the window model gets nothing: its
// timers do not tick and neither clicks on the notification-area icon, dropped files nor
// the close box reach it. Holds nest; the model is held while any is alive.
class ModelHold {
  public:
    ModelHold();
    ~ModelHold();
    ModelHold(const ModelHold&) = delete;
    ModelHold& operator=(const ModelHold&) = delete;

    // Whether the model is held now. One event loop per program, so one answer for all.
    static bool engaged();
};

}  // namespace somnar
