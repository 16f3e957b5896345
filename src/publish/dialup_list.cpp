// The dial-up connections of this machine, listed once at start-up.

#include "app/main_window_model.h"

namespace somnar {

void MainWindow::listDialupConnections() {
    for (std::string& name : services_.dialer.listEntries()) {
        dialupName.addItem(std::move(name));
    }
    dialupName.setListIndex(0);  // an empty list keeps the picker without a selection
}

}  // namespace somnar
