// Telling the user what went wrong: in a box while somebody is at the machine, and after
// an unattended wake-up in the status line, the log and a notification that waits.

#include "app/main_window_model.h"
#include "schedule/sleep_request.h"

namespace somnar {
namespace {

constexpr const char* kAfterWakeProblem = "Somnar-Scheduler: Problem nach dem Aufwachen";

}  // namespace

void MainWindow::showWarning(std::string_view text) {
    services_.dialogs.showMessage({std::string(text), std::string(kApplicationTitle),
                                   MessageButtons::Ok, MessageIcon::Warning});
}

void MainWindow::reportProblem(const std::string& text) {
    services_.log.write(LogLevel::Error, text);
    services_.notifier.notify(kAfterWakeProblem, text);
}

void MainWindow::reportAfterWake(const std::string& text) {
    ui_.statusLine.setCaption(text);
    reportProblem(text);
}

void MainWindow::reportAfterWake(const std::optional<std::string>& problem) {
    if (problem) {
        reportAfterWake(*problem);
    }
}

void MainWindow::refuseSleep(const std::string& text) {
    services_.log.write(LogLevel::Error, text);
    services_.dialogs.showMessage(
        {text, std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::Critical});
    enableSleepCommands();
}

// A sleep state the machine lacks keeps its commands disabled.
void MainWindow::enableSleepCommands() {
    ui_.hibernateNowButton.setEnabled(canHibernate_);
    ui_.standbyNowButton.setEnabled(canSuspend_);
    ui_.timedSleepButtons[0].setEnabled(canHibernate_);
    ui_.timedSleepButtons[1].setEnabled(canSuspend_);
    ui_.standbyPictures[2].setEnabled(true);
    ui_.hibernatePictures[2].setEnabled(true);
}

}  // namespace somnar
