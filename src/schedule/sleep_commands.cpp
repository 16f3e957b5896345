// The four sleep commands and the two pictures that lie on the timed ones.

#include "app/main_window_model.h"
#include "schedule/sleep_request.h"

namespace somnar {

void MainWindow::sleepNow(std::string_view mode) {
    hibernateCountdown.setEnabled(false);
    standbyCountdown.setEnabled(false);
    const SleepState state = requestedState(mode);
    if (wakeChoice[0].value()) {
        if (confirmRequest(mode, kNow)) {
            sleepAndWake(mode);
        }
        return;
    }
    const std::string question = "Soll der Rechner jetzt in den " + std::string(stateWord(state)) +
                                 " versetzt werden und nicht automatisch wieder erwachen?";
    const MessageAnswer answer = services_.dialogs.showMessage(
        {question, std::string(kApplicationTitle), MessageButtons::YesNo, MessageIcon::Question});
    if (answer == MessageAnswer::Yes) {
        if (const SleepResult slept = services_.power.sleep(state); !slept.slept()) {
            reportSleepRefused(state, slept);
        }
    }
}

void MainWindow::onHibernateNow() {
    sleepNow(kHibernate);
}

void MainWindow::onStandbyNow() {
    sleepNow(kStandby);
}

void MainWindow::onTimedSleep(int index) {
    if (!confirmRequest(index == 0 ? kHibernate : kStandby, kAtSleepTime)) {
        return;
    }
    if (index == 0) {
        standbyCountdown.setEnabled(false);
        hibernateCountdown.setEnabled(true);
    } else if (index == 1) {
        standbyCountdown.setEnabled(true);
        hibernateCountdown.setEnabled(false);
    } else {
        return;
    }
    timedSleepButtons[0].setEnabled(false);
    timedSleepButtons[1].setEnabled(false);
    hibernateNowButton.setEnabled(false);
    standbyNowButton.setEnabled(false);
    standbyPictures[2].setEnabled(false);
    hibernatePictures[2].setEnabled(false);
    window.setHeight(mainWindowDesign().compactHeight);
    optionsBox.setValue(CheckBox::Unchecked);
    optionsBox.setEnabled(false);
}

// The small pictures act as part of the button beneath; a button that start-up
// disabled (a sleep state the machine lacks) takes no click through its picture either.
void MainWindow::onStandbyPicture(int index) {
    if (index == 2 && timedSleepButtons[1].enabled()) {
        timedSleepButtons[1].setValue(true);
    }
}

void MainWindow::onHibernatePicture(int index) {
    if (index == 2 && timedSleepButtons[0].enabled()) {
        timedSleepButtons[0].setValue(true);
    }
}

}  // namespace somnar
