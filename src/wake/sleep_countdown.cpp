// Counting down to a sleep at the set time.

#include "app/main_window_model.h"
#include "schedule/picker_moment.h"
#include "schedule/sleep_request.h"

namespace somnar {

void MainWindow::onHibernateCountdownTick() {
    sleepCountdownTick(kHibernate, hibernateCountdown);
}

void MainWindow::onStandbyCountdownTick() {
    sleepCountdownTick(kStandby, standbyCountdown);
}

void MainWindow::sleepCountdownTick(std::string_view mode, Timer& countdown) {
    const SleepState state = requestedState(mode);
    // Texts that give no moment never come due: the line says why the countdown stands.
    const auto sleepAt = pickerMoment(sleepTime);
    statusLine.setCaption(sleepAt ? "Countdown für " + std::string(stateWord(state)) + " aktiv..."
                                  : "Angehalten: Ruhezeit ungültig");
    resetButton.setEnabled(true);
    countdownInfoButton.setEnabled(true);
    trayButton.setEnabled(true);
    statusLine.setEnabled(!statusLine.enabled());

    // Due once the present moment has reached the set minute, also when that minute went
    // by without a tick (the machine was busy or asleep).
    if (!sleepAt || isBefore(services_.clock.now(), *sleepAt)) {
        return;
    }
    if (wakeChoice[0].value()) {
        sleepAndWake(mode);
    } else if (const SleepResult slept = services_.power.sleep(state); !slept.slept()) {
        reportSleepRefused(state, slept);
    }
    statusLine.setCaption("");
    countdown.setEnabled(false);
    optionsBox.setEnabled(true);
}

}  // namespace somnar
