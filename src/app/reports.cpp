// Telling the user what went wrong: in a box while somebody is at the machine, and after
// an unattended wake-up in the status line, the log and a notification that waits.

#include "app/main_window_model.h"
#include "schedule/sleep_refusal.h"
#include "schedule/sleep_request.h"

namespace somnar {
namespace {

constexpr const char* kAfterWakeProblem = "Somnar-Scheduler: Problem nach dem Aufwachen";

}  // namespace

void Form1::showWarning(std::string_view text) {
    services_.dialogs.showMessage({std::string(text), std::string(kApplicationTitle),
                                   MessageButtons::Ok, MessageIcon::Warning});
}

void Form1::reportProblem(const std::string& text) {
    services_.log.write(LogLevel::Error, text);
    services_.notifier.notify(kAfterWakeProblem, text);
}

void Form1::reportAfterWake(const std::string& text) {
    Label26.setCaption(text);
    reportProblem(text);
}

void Form1::refuseSleep(const std::string& text) {
    services_.log.write(LogLevel::Error, text);
    services_.dialogs.showMessage(
        {text, std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::Critical});
    enableSleepCommands();
}

void Form1::reportSleepRefused(SleepState state, const SleepResult& result) {
    refuseSleep(sleepRefusalText(state, result));
}

// A sleep state the machine lacks keeps its commands disabled.
void Form1::enableSleepCommands() {
    cmdHibernate.setEnabled(canHibernate_);
    cmdSuspend.setEnabled(canSuspend_);
    cmdRS_aus[0].setEnabled(canHibernate_);
    cmdRS_aus[1].setEnabled(canSuspend_);
    Picture1[2].setEnabled(true);
    Picture2[2].setEnabled(true);
}

}  // namespace somnar
