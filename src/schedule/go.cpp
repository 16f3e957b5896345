// Arming the wake-up, entering the sleep state, and what follows the wake-up.

#include "app/failure_texts.h"
#include "app/main_window_model.h"
#include "schedule/picker_moment.h"
#include "schedule/sleep_request.h"

namespace somnar {
namespace {

std::string alarmReason(AlarmError error) {
    switch (error) {
        case AlarmError::NoPermission:
            return "Dem Programm fehlt die Berechtigung, den Weckalarm zu stellen.";
        case AlarmError::NoAlarmClock:
            return "Dieser Rechner hat keine Uhr, die ihn aus diesem Zustand wecken kann.";
        case AlarmError::NotInFuture:
            return "Die Aufwachzeit liegt nicht in der Zukunft.";
        case AlarmError::Failed:
        case AlarmError::None:
            break;
    }
    return "Der Weckalarm konnte nicht gestellt werden.";
}

std::string wakeAlarmRefusal(SleepState state, AlarmError error, const std::string& detail) {
    std::string text = "Die Aufwachzeit konnte nicht gestellt werden. " + alarmReason(error);
    if (!detail.empty()) {
        text += "\r\n" + detail;
    }
    text += "\r\nDer Rechner wird nicht in den " + std::string(stateWord(state)) + " versetzt.";
    text += "\r\nWas diesem Rechner zum Wecken fehlt, zeigt: somnar-scheduler --check";
    return text;
}

}  // namespace

GoOutcome Form1::go(std::string_view mode) {
    const SleepState state = requestedState(mode);

    // The pickers stay editable during a countdown: check them again now.
    const auto wakeUp = pickerMoment(cmbDay, cmbMonth, cmbYear, cmbHour, cmbMinute);
    const auto due = wakeUp ? services_.clock.localToUtc(*wakeUp) : std::nullopt;
    if (!due) {
        showWarning(kInvalidWakeUp);
        enableSleepCommands();
        return GoOutcome::Refused;
    }
    AlarmResult armed = services_.wakeAlarm.arm(state, *due);
    if (!armed.alarm) {
        // Sleeping without the wake-up the user asked for would be worse than not sleeping.
        refuseSleep(wakeAlarmRefusal(state, armed.error, alarmFailureText(state, armed)));
        return GoOutcome::Refused;
    }

    // Returns after waking, or once it is clear the machine does not go down; the alarm
    // stays armed until then, however long the user takes to authorise the request.
    const SleepResult slept = services_.power.sleep(state);
    if (!slept.slept()) {
        armed.alarm.reset();
        reportSleepRefused(state, slept);
        return GoOutcome::NotSlept;
    }

    services_.power.keepAwake();
    armed.alarm.reset();

    if (chkINET.ticked()) {
        Command4.setValue(true);
        if (chkFTP.ticked()) {
            tmrIP.setEnabled(true);
        }
    }
    if (chkDSL.ticked() && chkFTP.ticked()) {
        tmrIP.setEnabled(true);
    }
    if (chkPROG.ticked() && !Text1.text().empty()) {
        const StartResult started = services_.programs.startDetached(Text1.text());
        if (!started.ok()) {
            // Nobody may be at the machine now: no box that would hold up what follows.
            reportAfterWake("Programmstart fehlgeschlagen: " + startFailureText(started));
        }
    }
    if (chkSLEEPnachSOMNAR.ticked()) {
        cmdReset.setEnabled(true);
        cmdTray.setEnabled(true);
        cmdParameterInfo.setEnabled(true);
        Timer1.setEnabled(true);
    }
    return GoOutcome::AfterWake;
}

}  // namespace somnar
