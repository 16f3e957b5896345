#include "schedule/sleep_refusal.h"

#include "schedule/sleep_request.h"

namespace somnar {
namespace {

std::string reason(SleepOutcome outcome) {
    switch (outcome) {
        case SleepOutcome::NotAuthorized:
            return "Die Energieverwaltung erlaubt es diesem Benutzer nicht.";
        case SleepOutcome::NotSupported:
            return "Dieser Rechner unterstützt diesen Zustand nicht.";
        case SleepOutcome::NotAnnounced:
            return "Die Energieverwaltung hat die Anfrage angenommen, aber nicht ausgeführt.";
        case SleepOutcome::NoService:
            return "Die Energieverwaltung (systemd-logind) ist nicht erreichbar.";
        case SleepOutcome::Refused:
        case SleepOutcome::WokeUp:
            break;
    }
    return "Die Energieverwaltung hat die Anfrage abgelehnt.";
}

}  // namespace

std::string sleepRefusalText(SleepState state, const SleepResult& result,
                             const std::string& lineBreak) {
    std::string text = "Der Rechner wurde nicht in den " + std::string(stateWord(state)) +
                       " versetzt. " + reason(result.outcome);
    if (!result.detail.empty()) {
        text += lineBreak + result.detail;
    }
    return text;
}

}  // namespace somnar
