// What follows the wake-up: dialling, the program, the connection watch, and the
// countdown to a renewed sleep; and the clock display.

#include "app/main_window_model.h"

namespace somnar {

void MainWindow::startAfterWake(const AfterWakePlan& plan) {
    if (plan.dialup) {
        if (auto problem = afterWaking.dial(*plan.dialup)) {
            reportAfterWake(*problem);
        }
    }
    if (plan.watchesConnection()) {
        connectionWatch.setEnabled(true);
    }
    if (!plan.program.empty()) {
        if (auto problem = afterWaking.startProgram(plan.program)) {
            reportAfterWake(*problem);
        }
    }
    if (plan.renewedSleep) {
        resetButton.setEnabled(true);
        trayButton.setEnabled(true);
        countdownInfoButton.setEnabled(true);
        renewedSleepTimer.setEnabled(true);
    }
}

void MainWindow::onDial() {
    if (auto problem =
            afterWaking.dial({dialupName.text(), dialupUser.text(), dialupPassword.text()})) {
        reportAfterWake(*problem);
    }
}

void MainWindow::onClockTick() {
    clockLine.setCaption(services_.clock.generalDateTimeText(services_.clock.now()));
}

void MainWindow::onRenewedSleepDue() {
    onClockTick();
    RenewedSleepCount& count = afterWaking.renewedSleepCount();
    if (!sleeper.confirmed() || !renewedSleepBox.ticked()) {
        count.pause();
        return;
    }
    const auto minutes = renewedSleepMinutes(renewedSleepSpan.text());
    if (!minutes) {
        count.pause();
        statusLine.setCaption("Angehalten: Minuten ungültig");
        statusLine.setEnabled(!statusLine.enabled());
        return;
    }
    const double total = *minutes * 60.0;
    const std::optional<SleepState> state = renewedSleepChoice();
    const std::string left = timeLeftText(static_cast<long>(total - count.elapsedSeconds()));
    if (state == SleepState::Hibernate) {
        statusLine.setCaption("Nächster Ruhezustand in " + left + " min");
    } else if (state == SleepState::Standby) {
        statusLine.setCaption("Nächster Standbyzustand aktiv in " + left + " min");
    }
    statusLine.setEnabled(!statusLine.enabled());
    count.count(services_.clock.monotonic(), renewedSleepTimer.startCount(),
                std::chrono::milliseconds(renewedSleepTimer.interval()));
    if (count.elapsedSeconds() < total) {
        return;
    }
    // Everything is reset before the machine goes down; nothing follows the wake-up.
    statusLine.setCaption("");
    renewedSleepTimer.setEnabled(false);
    count.reset();
    sleeper.forget();
    if (!state) {
        return;  // neither state chosen: the countdown ends without a sleep
    }
    if (const SleepAttemptResult attempt = sleeper.sleepOnly(*state, " ");
        attempt.outcome != SleepAttempt::WokeUp) {
        reportAfterWake(attempt.refusal);
    }
}

}  // namespace somnar
