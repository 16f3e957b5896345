// Showing what a running countdown will do, and stopping all countdowns.

#include "app/main_window_model.h"

namespace somnar {

void MainWindow::onCountdownInfo() {
    Dialogs& dialogs = services_.dialogs;
    const std::string program = services_.program.programName();
    if (hibernateCountdown.enabled() || standbyCountdown.enabled()) {
        dialogs.showMessage({sleeper.confirmationText(),
                             program + " , Countdown läuft mit folgenden Parameter...",
                             MessageButtons::Ok, MessageIcon::Information});
    }
    if (renewedSleepTimer.enabled()) {
        dialogs.showMessage({statusLine.caption(), program + " , Countdown aktiv...",
                             MessageButtons::Ok, MessageIcon::Information});
    }
    if (!hibernateCountdown.enabled() && !standbyCountdown.enabled() &&
        !renewedSleepTimer.enabled()) {
        dialogs.showMessage({"Keine CountDown Aktionen aktiv.", program, MessageButtons::Ok,
                             MessageIcon::Information});
    }
}

void MainWindow::onReset() {
    hibernateCountdown.setEnabled(false);
    standbyCountdown.setEnabled(false);
    renewedSleepTimer.setEnabled(false);
    enableSleepCommands();
    trayButton.setEnabled(false);
    resetButton.setEnabled(false);
    countdownInfoButton.setEnabled(false);
    optionsBox.setEnabled(true);
    statusLine.setCaption("");
    // The next renewed sleep counts from zero.
    afterWaking.renewedSleepCount().reset();
}

}  // namespace somnar
