// The clock display and the countdown to a renewed sleep after waking.

#include "app/main_window_model.h"
#include "app/number_text.h"

namespace somnar {
namespace {

constexpr double kSecondsPerTick = 0.5;

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

void Form1::Timer1_Timer() {
    Label4.setCaption(services_.clock.generalDateTimeText(services_.clock.now()));
    if (!confirmed || !chkSLEEPnachSOMNAR.ticked()) {
        return;  // paused: the count is kept
    }
    // A text that is no whole number of minutes pauses the countdown as well.
    const auto minutes = renewedSleepMinutes();
    if (!minutes) {
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
    elapsed += kSecondsPerTick;
    if (elapsed < total) {
        return;
    }
    // Everything is reset before the machine goes down; nothing follows the wake-up.
    Label26.setCaption("");
    Timer1.setEnabled(false);
    elapsed = 0;
    confirmed = false;
    if (Option1[0].value()) {
        services_.power.sleep(SleepState::Hibernate);
    }
    if (Option1[1].value()) {
        services_.power.sleep(SleepState::Standby);
    }
}

}  // namespace somnar
