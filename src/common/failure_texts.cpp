#include "common/failure_texts.h"

namespace somnar {

std::string PortableFailureTexts::dialFailure(const DialResult& result) const {
    const std::string quoted = "\"" + result.detail + "\"";
    switch (result.error) {
        case DialError::None:
            return {};
        case DialError::NothingSelected:
            return "Es ist keine DFÜ-Verbindung ausgewählt.";
        case DialError::UnknownName:
            return "Die DFÜ-Verbindung " + quoted + " gibt es auf diesem Rechner nicht.";
        case DialError::UnusableCredentials:
            return "Benutzername oder Kennwort enthält einen Zeilenumbruch oder ein Nullzeichen "
                   "(das kann der Einwahldienst nicht übernehmen).";
        case DialError::CredentialsNotHandedOver:
            return "Benutzername und Kennwort konnten nicht an den Einwahldienst übergeben werden.";
        default:
            break;
    }
    if (!result.systemError.empty()) {
        return "Die DFÜ-Verbindung " + quoted +
               " konnte nicht gestartet werden: " + result.systemError;
    }
    return "Die DFÜ-Verbindung konnte nicht gestartet werden.";
}

std::string PortableFailureTexts::startFailure(const StartResult& result) const {
    switch (result.error) {
        case StartError::None:
            return {};
        case StartError::NoProgram:
            return "Es ist kein Programm angegeben.";
        case StartError::Unreadable:
            return "Die Befehlszeile lässt sich nicht lesen (fehlt ein Anführungszeichen?): " +
                   result.detail;
        case StartError::NotFound:
            return "Das Programm " + result.detail + " wurde nicht gefunden.";
        case StartError::NoSuchFile:
            return "Die Datei " + result.detail + " gibt es nicht.";
        case StartError::NotExecutable:
            return result.detail + " ist nicht ausführbar.";
        default:
            break;
    }
    return "Das Programm " + result.detail + " konnte nicht gestartet werden.";
}

std::string PortableFailureTexts::alarmFailure(SleepState state,
                                               const AlarmFailure& failure) const {
    switch (failure.error) {
        case AlarmError::None:
            return {};
        case AlarmError::NotInFuture:
            return "Die Weckzeit ist schon vorbei.";
        case AlarmError::NoPermission:
            return "Das Programm darf keinen Weckzeitgeber stellen.";
        case AlarmError::NoAlarmClock:
            return std::string("Dieser Rechner hat keinen Weckzeitgeber, der ihn aus dem ") +
                   (state == SleepState::Standby ? "Standby" : "Ruhezustand") + " wecken kann (" +
                   failure.systemError + ").";
        case AlarmError::Failed:
            break;
    }
    return "Der Weckzeitgeber ließ sich nicht stellen: " + failure.systemError + ".";
}

}  // namespace somnar
