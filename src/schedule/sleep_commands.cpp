// The four sleep commands and the two pictures that lie on the timed ones.

#include "app/main_window_model.h"
#include "schedule/sleep_request.h"

namespace somnar {

void Form1::sleepNow(std::string_view mode) {
    tmrRuhe.setEnabled(false);
    tmrStandby.setEnabled(false);
    const SleepState state = requestedState(mode);
    if (optSOMNAR[0].value()) {
        if (verify(mode, kNow)) {
            go(mode);
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

void Form1::cmdHibernate_Click() {
    sleepNow(kHibernate);
}

void Form1::cmdSuspend_Click() {
    sleepNow(kStandby);
}

void Form1::cmdRS_aus_Click(int index) {
    if (!verify(index == 0 ? kHibernate : kStandby, kAtSleepTime)) {
        return;
    }
    if (index == 0) {
        tmrStandby.setEnabled(false);
        tmrRuhe.setEnabled(true);
    } else if (index == 1) {
        tmrStandby.setEnabled(true);
        tmrRuhe.setEnabled(false);
    } else {
        return;
    }
    cmdRS_aus[0].setEnabled(false);
    cmdRS_aus[1].setEnabled(false);
    cmdHibernate.setEnabled(false);
    cmdSuspend.setEnabled(false);
    Picture1[2].setEnabled(false);
    Picture2[2].setEnabled(false);
    window.setHeight(form1Design().compactHeight);
    chkActionen.setValue(CheckBox::Unchecked);
    chkActionen.setEnabled(false);
}

// The small pictures act as part of the button beneath; a button that start-up
// disabled (a sleep state the machine lacks) takes no click through its picture either.
void Form1::Picture1_Click(int index) {
    if (index == 2 && cmdRS_aus[1].enabled()) {
        cmdRS_aus[1].setValue(true);
    }
}

void Form1::Picture2_Click(int index) {
    if (index == 2 && cmdRS_aus[0].enabled()) {
        cmdRS_aus[0].setValue(true);
    }
}

}  // namespace somnar
