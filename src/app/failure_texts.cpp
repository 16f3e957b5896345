#include "app/failure_texts.h"

namespace somnar {

std::string dialFailureText(const DialResult& result) {
    const std::string quoted = "\"" + result.detail + "\"";
    switch (result.error) {
        case DialError::None:
            return {};
        case DialError::NothingSelected:
            return "Es ist keine DFÜ-Verbindung ausgewählt.";
        case DialError::UnknownName:
            return "Die DFÜ-Verbindung " + quoted + " gibt es auf diesem Rechner nicht.";
        case DialError::NameNotDialable:
            return "Die DFÜ-Verbindung " + quoted +
                   " kann pon nicht wählen (Leerzeichen, *, ? oder [ im Namen oder \"-\" am "
                   "Anfang).";
        case DialError::UnusableCredentials:
            return "Benutzername oder Kennwort enthält einen Zeilenumbruch oder ein Nullzeichen "
                   "(das kann der Einwahldienst nicht übernehmen).";
        case DialError::CredentialsNotHandedOver:
            return "Benutzername und Kennwort konnten nicht an den Einwahldienst übergeben werden.";
        case DialError::PppMissing:
            return "pon konnte nicht gestartet werden (ist das Paket ppp installiert?).";
        case DialError::NetworkManagerMissing:
            return "nmcli konnte nicht gestartet werden (ist NetworkManager installiert?).";
        case DialError::Failed:
            break;
    }
    if (!result.systemError.empty()) {
        return "Die DFÜ-Verbindung " + quoted +
               " konnte nicht gestartet werden: " + result.systemError;
    }
    return "Die DFÜ-Verbindung konnte nicht gestartet werden.";
}

std::string startFailureText(const StartResult& result) {
    switch (result.error) {
        case StartError::None:
            return {};
        case StartError::NoProgram:
            return "Es ist kein Programm angegeben.";
        case StartError::NeedsShell:
            return "Die Befehlszeile enthält Zeichen, die nur eine Shell versteht (| & ; < > ( ) "
                   "{ } oder $( )); solche Befehle so angeben: /bin/sh -c '...'";
        case StartError::Unreadable:
            return "Die Befehlszeile lässt sich nicht lesen (fehlt ein Anführungszeichen?): " +
                   result.detail;
        case StartError::NotFound:
            return "Das Programm " + result.detail + " wurde nicht gefunden.";
        case StartError::NoSuchFile:
            return "Die Datei " + result.detail + " gibt es nicht.";
        case StartError::NotExecutable:
            return result.detail + " ist nicht ausführbar.";
        case StartError::Failed:
            break;
    }
    return "Das Programm " + result.detail + " konnte nicht gestartet werden.";
}

namespace {

// A wake-up timer of the system (the kernel's for standby; on Windows a waitable timer for
// both states), as opposed to the real-time clock's alarm file.
std::string timerAlarmText(SleepState state, const AlarmFailure& failure) {
    switch (failure.error) {
        case AlarmError::NoPermission:
            return "Das Programm darf keinen Weckzeitgeber stellen (es fehlt die Berechtigung "
                   "CAP_WAKE_ALARM). Als root freischalten mit: setcap cap_wake_alarm+ep " +
                   failure.detail;
        case AlarmError::NoAlarmClock:
            return std::string("Dieser Rechner hat keinen Weckzeitgeber, der ihn aus dem ") +
                   (state == SleepState::Standby ? "Standby" : "Ruhezustand") + " wecken kann (" +
                   failure.systemError + ").";
        default:
            return "Der Weckzeitgeber ließ sich nicht stellen: " + failure.systemError + ".";
    }
}

std::string clockAlarmText(const AlarmFailure& failure) {
    switch (failure.error) {
        case AlarmError::NoPermission:
            return "Das Programm darf die Weckzeit der Echtzeituhr nicht setzen: keine "
                   "Schreibberechtigung für " +
                   failure.detail +
                   ". Die Installation gibt den Benutzern des Programms Schreibrecht darauf "
                   "(eine udev-Regel, die einer Gruppe Schreibrecht gibt). Prüfen mit: ls -l " +
                   failure.detail;
        case AlarmError::NoAlarmClock:
            return "Dieser Rechner hat keine Echtzeituhr, die ihn aus dem Ruhezustand wecken "
                   "kann: " +
                   failure.detail + " gibt es nicht.";
        default:
            return "Die Weckzeit der Echtzeituhr ließ sich nicht setzen (" + failure.detail +
                   "): " + failure.systemError + ".";
    }
}

}  // namespace

std::string alarmFailureText(SleepState state, const AlarmFailure& failure) {
    if (failure.ok()) {
        return {};
    }
    if (failure.error == AlarmError::NotInFuture) {
        return "Die Weckzeit ist schon vorbei.";
    }
    // Only the clock's alarm names its file.
    return state == SleepState::Standby || failure.detail.empty() ? timerAlarmText(state, failure)
                                                                  : clockAlarmText(failure);
}

}  // namespace somnar
