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

void Form1::tmrAktZeit_Timer() {
    Label4.setCaption(services_.clock.generalDateTimeText(services_.clock.now()));
}

// A tick held up by a blocking upload or a busy machine still counts the time that
// really passed, so the renewed sleep is not put off by it.
double Form1::secondsSinceLastCount() {
    const std::chrono::milliseconds now = services_.clock.monotonic();
    double seconds = Timer1.interval() / 1000.0;
    if (lastCount_ && countedRun_ == Timer1.startCount() && now >= *lastCount_) {
        seconds = std::chrono::duration<double>(now - *lastCount_).count();
    }
    lastCount_ = now;
    countedRun_ = Timer1.startCount();
    return seconds;
}

void Form1::Timer1_Timer() {
    Label4.setCaption(services_.clock.generalDateTimeText(services_.clock.now()));
    if (!confirmed || !chkSLEEPnachSOMNAR.ticked()) {
        lastCount_.reset();  // paused: the count is kept, the pause is not counted
        return;
    }
    const auto minutes = renewedSleepMinutes();
    if (!minutes) {
        lastCount_.reset();
        Label26.setCaption("Angehalten: Minuten ungültig");
        Label26.setEnabled(!Label26.enabled());
        return;
    }
    const double total = *minutes * 60.0;
    const std::string shown = timeLeftText(static_cast<long>(total - elapsed));
    if (Option1[0].value()) {
        Label26.setCaption("Nächster Ruhezustand in " + shown + " min");
    }
    if (Option1[1].value()) {
        Label26.setCaption("Nächster Standbyzustand aktiv in " + shown + " min");
    }
    Label26.setEnabled(!Label26.enabled());
    elapsed += secondsSinceLastCount();
    if (elapsed < total) {
        return;
    }
    // Everything is reset before the machine goes down; nothing follows the wake-up.
    Label26.setCaption("");
    Timer1.setEnabled(false);
    elapsed = 0;
    confirmed = false;
    if (!Option1[0].value() && !Option1[1].value()) {
        return;  // neither state chosen: the countdown ends without a sleep
    }
    const SleepState state = Option1[0].value() ? SleepState::Hibernate : SleepState::Standby;
    if (const SleepResult slept = services_.power.sleep(state); !slept.slept()) {
        reportAfterWake(sleepRefusalText(state, slept, " "));
    }
}

}  // namespace somnar
