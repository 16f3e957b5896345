// Counting down to a sleep at the set time.

#include "app/main_window_model.h"
#include "schedule/picker_moment.h"
#include "schedule/sleep_request.h"

namespace somnar {

void Form1::tmrRuhe_Timer() {
    sleepCountdownTick(kHibernate, tmrRuhe);
}

void Form1::tmrStandby_Timer() {
    sleepCountdownTick(kStandby, tmrStandby);
}

void Form1::sleepCountdownTick(std::string_view mode, Timer& countdown) {
    const SleepState state = requestedState(mode);
    // Texts that give no moment never come due: the line says why the countdown stands.
    const auto sleepAt =
        pickerMoment(cmbDay_aus, cmbMonth_aus, cmbYear_aus, cmbHour_aus, cmbMinute_aus);
    Label26.setCaption(sleepAt ? "Countdown für " + std::string(stateWord(state)) + " aktiv..."
                               : "Angehalten: Ruhezeit ungültig");
    cmdReset.setEnabled(true);
    cmdParameterInfo.setEnabled(true);
    cmdTray.setEnabled(true);
    Label26.setEnabled(!Label26.enabled());

    // Due once the present moment has reached the set minute, also when that minute went
    // by without a tick (the machine was busy or asleep).
    if (!sleepAt || isBefore(services_.clock.now(), *sleepAt)) {
        return;
    }
    if (optSOMNAR[0].value()) {
        go(mode);
    } else if (const SleepResult slept = services_.power.sleep(state); !slept.slept()) {
        reportSleepRefused(state, slept);
    }
    Label26.setCaption("");
    countdown.setEnabled(false);
    chkActionen.setEnabled(true);
}

}  // namespace somnar
