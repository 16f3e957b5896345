// Dialling the dial-up connection after waking.

#include "app/main_window_model.h"

namespace somnar {

void MainWindow::onDial() {
    const DialResult dialled =
        services_.dialer.dial(dialupName.text(), dialupUser.text(), dialupPassword.text());
    if (!dialled.started) {
        // Nobody may be at the machine now: no box that would hold up the rest.
        reportAfterWake("Einwahl fehlgeschlagen: " + dialled.reason);
    }
}

}  // namespace somnar
