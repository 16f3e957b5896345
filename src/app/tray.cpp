// Putting the window away into the notification area and bringing it back.

#include "app/main_window_model.h"

namespace somnar {

void MainWindow::onToTray() {
    if (!services_.tray.available()) {
        // Without a notification area a hidden window could not be found again.
        ui_.window.minimize();
        return;
    }
    services_.tray.add();
    ui_.window.hide();
}

// The menu opens when the left button is released, not when it is pressed.
void MainWindow::onTrayClick(TrayClick click) {
    if (click == TrayClick::LeftUp) {
        ui_.window.popUp(&ui_.trayMenu);
    }
}

void MainWindow::onShowWindow() {
    ui_.window.show();
    services_.tray.remove();
}

}  // namespace somnar
