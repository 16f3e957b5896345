// The dial-up connections of this machine, listed once at start-up.

#include "app/main_window_model.h"

namespace somnar {

void Form1::list_verbindung() {
    for (std::string& name : services_.dialer.listEntries()) {
        cmbDFUE_Name.addItem(std::move(name));
    }
    cmbDFUE_Name.setListIndex(0);  // an empty list keeps the picker without a selection
}

}  // namespace somnar
