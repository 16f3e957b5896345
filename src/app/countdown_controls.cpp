// Showing what a running countdown will do, and stopping all countdowns.

#include "app/main_window_model.h"

namespace somnar {

void MainWindow::onCountdownInfo() {
    Dialogs& dialogs = services_.dialogs;
    const std::string program = services_.program.programName();
    if (ui_.hibernateCountdown.enabled() || ui_.standbyCountdown.enabled()) {
        dialogs.showMessage({schedule_.confirmationText(),
                             program + " , Countdown läuft mit folgenden Parameter...",
                             MessageButtons::Ok, MessageIcon::Information});
    }
    if (ui_.renewedSleepTimer.enabled()) {
        dialogs.showMessage({ui_.statusLine.caption(), program + " , Countdown aktiv...",
                             MessageButtons::Ok, MessageIcon::Information});
    }
    if (!ui_.hibernateCountdown.enabled() && !ui_.standbyCountdown.enabled() &&
        !ui_.renewedSleepTimer.enabled()) {
        dialogs.showMessage({"Keine CountDown Aktionen aktiv.", program, MessageButtons::Ok,
                             MessageIcon::Information});
    }
}

void MainWindow::onReset() {
    ui_.hibernateCountdown.setEnabled(false);
    ui_.standbyCountdown.setEnabled(false);
    ui_.renewedSleepTimer.setEnabled(false);
    enableSleepCommands();
    ui_.trayButton.setEnabled(false);
    ui_.resetButton.setEnabled(false);
    ui_.countdownInfoButton.setEnabled(false);
    ui_.optionsBox.setEnabled(true);
    ui_.statusLine.setCaption("");
    // The next renewed sleep counts from zero.
    renewedSleep_.reset();
}

}  // namespace somnar
