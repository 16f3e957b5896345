// Waiting for the connection after waking, then publishing the address once.

#include "app/main_window_model.h"

namespace somnar {

bool MainWindow::isConnected() {
    return services_.connectivity.isConnected();
}

// Address, document, upload, stop: each start of the watch publishes at most once, also
// when the lookup or the upload failed; without a new document nothing is uploaded. A tick that
// comes while a box of this one is open does not run (the timer does not re-enter its handler).
void MainWindow::onConnectionWatchTick() {
    if (!isConnected()) {
        return;
    }
    ipAddressLine.setCaption(localIpAddress());
    // An ip.html of an earlier run must never go out as if it were new.
    if (writeIpDocument()) {
        uploadButton.setValue(true);
    }
    connectionWatch.setEnabled(false);
}

}  // namespace somnar
