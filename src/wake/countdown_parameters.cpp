// Showing what a running countdown will do, and stopping all countdowns.

#include "app/main_window_model.h"

namespace somnar {

void Form1::cmdParameterInfo_Click() {
    Dialogs& dialogs = services_.dialogs;
    const std::string program = services_.program.programName();
    if (tmrRuhe.enabled() || tmrStandby.enabled()) {
        dialogs.showMessage({confirmText, program + " , Countdown läuft mit folgenden Parameter...",
                             MessageButtons::Ok, MessageIcon::Information});
    }
    if (Timer1.enabled()) {
        dialogs.showMessage({Label26.caption(), program + " , Countdown aktiv...",
                             MessageButtons::Ok, MessageIcon::Information});
    }
    if (!tmrRuhe.enabled() && !tmrStandby.enabled() && !Timer1.enabled()) {
        dialogs.showMessage({"Keine CountDown Aktionen aktiv.", program, MessageButtons::Ok,
                             MessageIcon::Information});
    }
}

// Pressing the button from code runs its handler also while the button is disabled.
void Form1::mnuCountdown_Click() {
    cmdParameterInfo.setValue(true);
}

void Form1::cmdReset_Click() {
    tmrRuhe.setEnabled(false);
    tmrStandby.setEnabled(false);
    Timer1.setEnabled(false);
    enableSleepCommands();
    cmdTray.setEnabled(false);
    cmdReset.setEnabled(false);
    cmdParameterInfo.setEnabled(false);
    chkActionen.setEnabled(true);
    Label26.setCaption("");
    // The next renewed sleep counts from zero.
    elapsed = 0;
}

}  // namespace somnar
