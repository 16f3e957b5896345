#include "schedule/confirmation_text.h"

#include "schedule/sleep_request.h"

namespace somnar {

std::string confirmationText(SleepState state, const std::optional<std::string>& sleepAt,
                             const std::optional<std::string>& wakeUp, const AfterWakePlan& plan) {
    const std::string crlf = "\r\n";
    const std::string word(stateWord(state));
    std::string text = "Der Rechner wird " + (sleepAt ? "am " + *sleepAt : "jetzt") + " in den " +
                       word + " versetzt.";
    if (wakeUp) {
        text += " Er wird am " + *wakeUp + " wieder aus dem " + word + " erweckt.";
    } else {
        text += " Der Rechner wird nicht wieder aus dem " + word + " erweckt.";
    }
    if (plan.dialup) {
        text +=
            " Danach wird eine Verbindung in das Internet hergestellt (" + plan.dialup->name + ").";
    }
    if (plan.publishAddress) {
        text += crlf +
                "Nachdem die Internetverbindung hergestellt ist, wir die vergebene IP-Adresse "
                "per FTP an den Server " +
                plan.ftpServer + " geschickt (ip.html)";
    }
    if (!plan.program.empty()) {
        text += crlf + "Nach dem Aufwachen wird das Programm/Batchdatei " + plan.program +
                " gestartet.";
    }
    if (plan.renewedSleep && plan.renewedSleep->state) {
        text += crlf + "Nach dem Aufwachen wird nach " + plan.renewedSleep->minutesText +
                " Minuten wieder der " + std::string(stateWord(*plan.renewedSleep->state)) +
                " eingeleitet.";
    }
    return text;
}

}  // namespace somnar
