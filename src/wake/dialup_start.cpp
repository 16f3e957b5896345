// Dialling the dial-up connection after waking.

#include "app/failure_texts.h"
#include "app/main_window_model.h"

namespace somnar {

void Form1::Command4_Click() {
    const DialResult dialled =
        services_.dialer.dial(cmbDFUE_Name.text(), txtUser.text(), txtPassword.text());
    if (!dialled.ok()) {
        // Nobody may be at the machine now: no box that would hold up the rest.
        reportAfterWake("Einwahl fehlgeschlagen: " + dialFailureText(dialled));
    }
}

}  // namespace somnar
