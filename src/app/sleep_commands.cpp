// The four sleep commands, the countdown to a sleep at the set time, and the sleep with
// its wake-up.

#include "app/main_window_model.h"

namespace somnar {

void MainWindow::sleepNow(SleepState state) {
    ui_.hibernateCountdown.setEnabled(false);
    ui_.standbyCountdown.setEnabled(false);
    if (ui_.wakeChoice[0].value()) {
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
        sleepOnly(state);
    }
}

void MainWindow::sleepOnly(SleepState state) {
    if (const SleepAttemptResult attempt = sleeper_.sleepOnly(state);
        attempt.outcome != SleepAttempt::WokeUp) {
        refuseSleep(attempt.refusal);
    }
}

void MainWindow::onTimedSleep(SleepState state) {
    if (!confirmRequest({state, SleepMoment::AtSleepTime})) {
        return;
    }
    MainWindowControls& c = ui_;
    c.hibernateCountdown.setEnabled(state == SleepState::Hibernate);
    c.standbyCountdown.setEnabled(state == SleepState::Standby);
    for (Control* command :
         {static_cast<Control*>(&c.timedSleepButtons[0]),
          static_cast<Control*>(&c.timedSleepButtons[1]),
          static_cast<Control*>(&c.hibernateNowButton), static_cast<Control*>(&c.standbyNowButton),
          static_cast<Control*>(&c.standbyPictures[2]),
          static_cast<Control*>(&c.hibernatePictures[2])}) {
        command->setEnabled(false);
    }
    c.window.setHeight(mainWindowDesign().compactHeight);
    c.optionsBox.setValue(CheckBox::Unchecked);
    c.optionsBox.setEnabled(false);
}

// A button that start-up disabled (a sleep state the machine lacks) takes no click
// through its picture either.
void MainWindow::onTimedSleepPicture(SleepState state) {
    if (ui_.timedSleepButtons[state == SleepState::Hibernate ? 0 : 1].enabled()) {
        onTimedSleep(state);
    }
}

void MainWindow::onTimedSleepDue(SleepState state, Timer& countdown) {
    MainWindowControls& c = ui_;
    // Texts that give no moment never come due: the line says why the countdown stands.
    const auto sleepAt = pickerMoment(textsOf(c.sleepTime));
    c.statusLine.setCaption(sleepAt ? "Countdown für " + std::string(stateWord(state)) + " aktiv..."
                                    : "Angehalten: Ruhezeit ungültig");
    c.resetButton.setEnabled(true);
    c.countdownInfoButton.setEnabled(true);
    c.trayButton.setEnabled(true);
    c.statusLine.setEnabled(!c.statusLine.enabled());

    // Due once the present moment has reached the set minute, also when that minute went
    // by without a tick (the machine was busy or asleep).
    if (!sleepAt || isBefore(services_.clock.now(), *sleepAt)) {
        return;
    }
    if (c.wakeChoice[0].value()) {
        sleepAndWake(state);
    } else {
        sleepOnly(state);
    }
    c.statusLine.setCaption("");
    countdown.setEnabled(false);
    c.optionsBox.setEnabled(true);
}

SleepAttempt MainWindow::sleepAndWake(SleepState state) {
    // The pickers stay editable during a countdown: check them again now.
    const auto wakeUp = pickerMoment(textsOf(ui_.wakeTime));
    const auto due = wakeUp ? services_.clock.localToUtc(*wakeUp) : std::nullopt;
    if (!due) {
        showWarning(kInvalidWakeUp);
        enableSleepCommands();
        return SleepAttempt::AlarmRefused;
    }
    const SleepAttemptResult attempt = sleeper_.sleepAndWake(state, *due);
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
