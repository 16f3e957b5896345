// The four sleep commands, the countdown to a sleep at the set time, and the sleep with
// its wake-up.

#include "app/main_window_model.h"
#include "schedule/picker_moment.h"

namespace somnar {

void MainWindow::sleepNow(SleepState state) {
    hibernateCountdown.setEnabled(false);
    standbyCountdown.setEnabled(false);
    if (wakeChoice[0].value()) {
        if (confirmRequest({state, SleepMoment::Now})) {
            sleepAndWake(state);
        }
        return;
    }
    const std::string question = "Soll der Rechner jetzt in den " + std::string(stateWord(state)) +
                                 " versetzt werden und nicht automatisch wieder erwachen?";
    const MessageAnswer answer = services_.dialogs.showMessage(
        {question, std::string(kApplicationTitle), MessageButtons::YesNo, MessageIcon::Question});
    if (answer == MessageAnswer::Yes) {
        if (const SleepAttemptResult attempt = sleeper.sleepOnly(state);
            attempt.outcome != SleepAttempt::WokeUp) {
            refuseSleep(attempt.refusal);
        }
    }
}

void MainWindow::onHibernateNow() {
    sleepNow(SleepState::Hibernate);
}

void MainWindow::onStandbyNow() {
    sleepNow(SleepState::Standby);
}

void MainWindow::onTimedSleep(SleepState state) {
    if (!confirmRequest({state, SleepMoment::AtSleepTime})) {
        return;
    }
    hibernateCountdown.setEnabled(state == SleepState::Hibernate);
    standbyCountdown.setEnabled(state == SleepState::Standby);
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

// A button that start-up disabled (a sleep state the machine lacks) takes no click
// through its picture either.
void MainWindow::onTimedSleepPicture(SleepState state) {
    CommandButton& button = timedSleepButtons[state == SleepState::Hibernate ? 0 : 1];
    if (button.enabled()) {
        onTimedSleep(state);
    }
}

void MainWindow::onTimedSleepDue(SleepState state, Timer& countdown) {
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
        sleepAndWake(state);
    } else if (const SleepAttemptResult attempt = sleeper.sleepOnly(state);
               attempt.outcome != SleepAttempt::WokeUp) {
        refuseSleep(attempt.refusal);
    }
    statusLine.setCaption("");
    countdown.setEnabled(false);
    optionsBox.setEnabled(true);
}

SleepAttempt MainWindow::sleepAndWake(SleepState state) {
    // The pickers stay editable during a countdown: check them again now.
    const auto wakeUp = pickerMoment(wakeTime);
    const auto due = wakeUp ? services_.clock.localToUtc(*wakeUp) : std::nullopt;
    if (!due) {
        showWarning(kInvalidWakeUp);
        enableSleepCommands();
        return SleepAttempt::AlarmRefused;
    }
    const SleepAttemptResult attempt = sleeper.sleepAndWake(state, *due);
    if (attempt.outcome != SleepAttempt::WokeUp) {
        refuseSleep(attempt.refusal);
        return attempt.outcome;
    }
    if (attempt.wakeUpMoved) {
        reportAfterWake(
            lateWakeUpText(services_.clock.generalDateTimeText(*wakeUp), attempt.rearm));
    }
    startAfterWake(afterWakePlan());
    return SleepAttempt::WokeUp;
}

}  // namespace somnar
