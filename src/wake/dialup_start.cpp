// Dialling the dial-up connection after waking.

#include "app/main_window_model.h"

namespace somnar {

void Form1::Command4_Click() {
    const DialResult dialled =
        services_.dialer.dial(cmbDFUE_Name.text(), txtUser.text(), txtPassword.text());
    if (!dialled.started) {
        // Nobody may be at the machine now: no box that would hold up the rest.
        reportAfterWake("Einwahl fehlgeschlagen: " + dialled.reason);
    }
}

}  // namespace somnar
