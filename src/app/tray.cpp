// Putting the window away into the notification area and bringing it back.

#include "app/main_window_model.h"

namespace somnar {
namespace {

constexpr int kLeftButtonUp = 0x202;

}  // namespace

void Form1::cmdTray_Click() {
    if (!services_.tray.available()) {
        // Without a notification area a hidden window could not be found again.
        window.minimize();
        return;
    }
    services_.tray.add();
    window.hide();
}

void Form1::trayIcon_MouseMessage(int message) {
    lastTrayMessage = message;
    if (message == kLeftButtonUp) {
        window.popUp(&mnuPopUp);
    }
}

void Form1::mnuAnzeige_Click() {
    window.show();
    services_.tray.remove();
}

}  // namespace somnar
