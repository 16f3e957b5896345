// What follows the wake-up: dialling, the program, the connection watch, and the
// countdown to a renewed sleep; and the clock display.

#include "app/main_window_model.h"

namespace somnar {

void MainWindow::startAfterWake(const AfterWakePlan& plan) {
    MainWindowControls& c = ui_;
    if (plan.dialup) {
        reportAfterWake(dialStep_.start(*plan.dialup));
    }
    if (plan.watchesConnection()) {
        c.connectionWatch.setEnabled(true);
    }
    if (!plan.program.empty()) {
        reportAfterWake(programStep_.start(plan.program));
    }
    if (plan.renewedSleep) {
        c.resetButton.setEnabled(true);
        c.trayButton.setEnabled(true);
        c.countdownInfoButton.setEnabled(true);
        c.renewedSleepTimer.setEnabled(true);
    }
}

void MainWindow::onDial() {
    reportAfterWake(
        dialStep_.start({ui_.dialupName.text(), ui_.dialupUser.text(), ui_.dialupPassword.text()}));
}

void MainWindow::onClockTick() {
    ui_.clockLine.setCaption(services_.clock.generalDateTimeText(services_.clock.now()));
}

void MainWindow::onRenewedSleepDue() {
    onClockTick();
    MainWindowControls& c = ui_;
    const RenewedSleepAnswer answer = renewedSleep_.tick(
        {schedule_.confirmed() && c.renewedSleepBox.ticked(), c.renewedSleepSpan.text(),
         renewedSleepChoice(), services_.clock.monotonic(), c.renewedSleepTimer.startCount(),
         std::chrono::milliseconds(c.renewedSleepTimer.interval())});
    if (answer.kind == RenewedSleepAnswer::Kind::Paused) {
        return;
    }
    if (!answer.status.empty()) {
        c.statusLine.setCaption(answer.status);
    }
    c.statusLine.setEnabled(!c.statusLine.enabled());
    if (answer.kind != RenewedSleepAnswer::Kind::Due) {
        return;
    }
    // Everything is reset before the machine goes down; nothing follows the wake-up.
    c.statusLine.setCaption("");
    c.renewedSleepTimer.setEnabled(false);
    schedule_.forget();
    if (!answer.sleep) {
        return;  // neither state chosen: the countdown ends without a sleep
    }
    if (const SleepAttemptResult attempt = sleeper_.sleepOnly(*answer.sleep, " ");
        attempt.outcome != SleepAttempt::WokeUp) {
        reportAfterWake(attempt.refusal);
    }
}

}  // namespace somnar
