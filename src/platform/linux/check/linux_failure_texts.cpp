#include "platform/linux/check/linux_failure_texts.h"

namespace somnar {

std::string LinuxFailureTexts::dialFailure(const DialResult& result) const {
    switch (result.error) {
        case DialError::NameNotDialable:
            return "Die DFÜ-Verbindung \"" + result.detail +
                   "\" kann pon nicht wählen (Leerzeichen, *, ? oder [ im Namen oder \"-\" am "
                   "Anfang).";
        case DialError::PppMissing:
            return "pon konnte nicht gestartet werden (ist das Paket ppp installiert?).";
        case DialError::NetworkManagerMissing:
            return "nmcli konnte nicht gestartet werden (ist NetworkManager installiert?).";
        default:
            return PortableFailureTexts::dialFailure(result);
    }
}

std::string LinuxFailureTexts::startFailure(const StartResult& result) const {
    if (result.error == StartError::NeedsShell) {
        return "Die Befehlszeile enthält Zeichen, die nur eine Shell versteht (| & ; < > ( ) "
               "{ } oder $( )); solche Befehle so angeben: /bin/sh -c '...'";
    }
    return PortableFailureTexts::startFailure(result);
}

namespace {

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

std::string LinuxFailureTexts::alarmFailure(SleepState state, const AlarmFailure& failure) const {
    if (failure.ok() || failure.error == AlarmError::NotInFuture) {
        return PortableFailureTexts::alarmFailure(state, failure);
    }
    // Only the clock's alarm names its file.
    if (state == SleepState::Hibernate && !failure.detail.empty()) {
        return clockAlarmText(failure);
    }
    if (failure.error == AlarmError::NoPermission) {
        return "Das Programm darf keinen Weckzeitgeber stellen (es fehlt die Berechtigung "
               "CAP_WAKE_ALARM). Als root freischalten mit: setcap cap_wake_alarm+ep " +
               failure.detail;
    }
    return PortableFailureTexts::alarmFailure(state, failure);
}

}  // namespace somnar
