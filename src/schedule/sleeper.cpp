#include "schedule/sleeper.h"

#include "schedule/sleep_request.h"
#include "schedule/sleep_with_wake_up.h"

namespace somnar {
namespace {

std::string refusalReason(SleepOutcome outcome) {
    switch (outcome) {
        case SleepOutcome::NotAuthorized:
            return "Die Energieverwaltung erlaubt es diesem Benutzer nicht.";
        case SleepOutcome::NotSupported:
            return "Dieser Rechner unterstützt diesen Zustand nicht.";
        case SleepOutcome::NotAnnounced:
            return "Die Energieverwaltung hat die Anfrage angenommen, aber nicht ausgeführt.";
        case SleepOutcome::NoService:
            return "Die Energieverwaltung (systemd-logind) ist nicht erreichbar.";
        case SleepOutcome::Abandoned:
            return "Das Programm wird beendet; die Anfrage wurde abgebrochen.";
        case SleepOutcome::Refused:
        case SleepOutcome::WokeUp:
            break;
    }
    return "Die Energieverwaltung hat die Anfrage abgelehnt.";
}

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

}  // namespace

std::string sleepRefusalText(SleepState state, const SleepResult& result,
                             const std::string& lineBreak) {
    std::string text = "Der Rechner wurde nicht in den " + std::string(stateWord(state)) +
                       " versetzt. " + refusalReason(result.outcome);
    if (!result.detail.empty()) {
        text += lineBreak + result.detail;
    }
    return text;
}

std::string wakeAlarmRefusalText(SleepState state, AlarmError error, const std::string& detail,
                                 const std::string& checkCommand) {
    // The backend's own words say what is missing more exactly; both would say it twice.
    std::string text = "Die Aufwachzeit konnte nicht gestellt werden. " +
                       (detail.empty() ? alarmReason(error) : detail);
    text += "\r\nDer Rechner wird nicht in den " + std::string(stateWord(state)) + " versetzt.";
    text += "\r\nWas diesem Rechner zum Wecken fehlt, zeigt: " + checkCommand;
    return text;
}

std::string lateWakeUpText(const std::string& wakeUp, const AlarmFailure& rearm) {
    std::string text =
        "Verspätet aufgewacht: Die Anfrage wurde erst kurz vor oder nach der "
        "Aufwachzeit (" +
        wakeUp + ") freigegeben";
    if (!rearm.ok()) {
        return text + ", und der Weckalarm konnte nicht neu gestellt werden. " +
               alarmReason(rearm.error);
    }
    return text + ", deshalb wurde der Rechner " + std::to_string(kShortestWakeLead.count()) +
           " Sekunden nach dem Einschlafen geweckt.";
}

void Sleeper::noteWakeNotice(WakeNotice notice) {
    if (notice == WakeNotice::SuspendSeen) {
        seams_.log.write(LogLevel::Warning,
                         "Die Energieverwaltung hat das Aufwachen nicht gemeldet; die Uhr des "
                         "Rechners zeigt, dass er geschlafen hat.");
    } else if (notice == WakeNotice::NoneInTime) {
        seams_.log.write(LogLevel::Warning,
                         "Die Energieverwaltung hat das Aufwachen nicht gemeldet, und der "
                         "Rechner hat offenbar nicht geschlafen; das Programm macht nach der "
                         "Wartezeit weiter.");
    }
}

SleepAttemptResult Sleeper::sleepAndWake(SleepState state, std::chrono::sys_seconds due) {
    AlarmResult armed = seams_.wakeAlarm.arm(state, due);
    if (!armed.alarm) {
        return {SleepAttempt::AlarmRefused,
                wakeAlarmRefusalText(state, armed.error, seams_.texts.alarmFailure(state, armed),
                                     seams_.checkCommand)};
    }
    // Returns after waking, or once it is clear the machine does not go down; the alarm
    // stays armed until then, however long the user takes to authorise the request.
    const WakeUpSleep sleep =
        sleepWithWakeUp(seams_.power, seams_.wakeAlarm, seams_.clock, state, due, armed.alarm);
    if (!sleep.slept.slept()) {
        return {SleepAttempt::NotSlept, sleepRefusalText(state, sleep.slept)};
    }
    noteWakeNotice(sleep.slept.wakeNotice);
    seams_.power.keepAwake();
    armed.alarm.reset();
    return {SleepAttempt::WokeUp, {}, sleep.movedTo.has_value(), sleep.rearm};
}

SleepAttemptResult Sleeper::sleepOnly(SleepState state, const std::string& lineBreak) {
    const SleepResult slept = seams_.power.sleep(state, {});
    if (!slept.slept()) {
        return {SleepAttempt::NotSlept, sleepRefusalText(state, slept, lineBreak)};
    }
    noteWakeNotice(slept.wakeNotice);
    return {};
}

}  // namespace somnar
