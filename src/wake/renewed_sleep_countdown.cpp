// The clock display and the countdown to a renewed sleep after waking.

#include "app/main_window_model.h"
#include "app/number_text.h"
#include "schedule/sleep_refusal.h"

namespace somnar {
namespace {

// Minutes and seconds left, "mm:ss"; an hour or more shows all its minutes ("90:00").
std::string timeLeftText(long secondsLeft) {
    if (secondsLeft < 0) {
        secondsLeft = 0;
    }
    return twoDigits(static_cast<int>(secondsLeft / 60)) + ":" +
           twoDigits(static_cast<int>(secondsLeft % 60));
}

}  // namespace

void MainWindow::onClockTick() {
    clockLine.setCaption(services_.clock.generalDateTimeText(services_.clock.now()));
}

// A tick held up by a blocking upload or a busy machine still counts the time that
// really passed, so the renewed sleep is not put off by it.
double MainWindow::secondsSinceLastCount() {
    const std::chrono::milliseconds now = services_.clock.monotonic();
    double seconds = renewedSleepTimer.interval() / 1000.0;
    if (lastCount_ && countedRun_ == renewedSleepTimer.startCount() && now >= *lastCount_) {
        seconds = std::chrono::duration<double>(now - *lastCount_).count();
    }
    lastCount_ = now;
    countedRun_ = renewedSleepTimer.startCount();
    return seconds;
}

void MainWindow::onRenewedSleepTick() {
    clockLine.setCaption(services_.clock.generalDateTimeText(services_.clock.now()));
    if (!confirmed || !renewedSleepBox.ticked()) {
        lastCount_.reset();  // paused: the count is kept, the pause is not counted
        return;
    }
    const auto minutes = renewedSleepMinutes();
    if (!minutes) {
        lastCount_.reset();
        statusLine.setCaption("Angehalten: Minuten ungültig");
        statusLine.setEnabled(!statusLine.enabled());
        return;
    }
    const double total = *minutes * 60.0;
    const std::string shown = timeLeftText(static_cast<long>(total - elapsed));
    if (renewedSleepState[0].value()) {
        statusLine.setCaption("Nächster Ruhezustand in " + shown + " min");
    }
    if (renewedSleepState[1].value()) {
        statusLine.setCaption("Nächster Standbyzustand aktiv in " + shown + " min");
    }
    statusLine.setEnabled(!statusLine.enabled());
    elapsed += secondsSinceLastCount();
    if (elapsed < total) {
        return;
    }
    // Everything is reset before the machine goes down; nothing follows the wake-up.
    statusLine.setCaption("");
    renewedSleepTimer.setEnabled(false);
    elapsed = 0;
    confirmed = false;
    if (!renewedSleepState[0].value() && !renewedSleepState[1].value()) {
        return;  // neither state chosen: the countdown ends without a sleep
    }
    const SleepState state =
        renewedSleepState[0].value() ? SleepState::Hibernate : SleepState::Standby;
    if (const SleepResult slept = services_.power.sleep(state); !slept.slept()) {
        reportAfterWake(sleepRefusalText(state, slept, " "));
    }
}

}  // namespace somnar
