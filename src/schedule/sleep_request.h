#pragma once

#include <string_view>

#include "platform/sleep_state.h"

namespace somnar {

// The texts that name a request: its sleep state and when it is to begin.
inline constexpr std::string_view kHibernate = "hibernate";
inline constexpr std::string_view kStandby = "standby";
inline constexpr std::string_view kNow = "sofort";
inline constexpr std::string_view kAtSleepTime = "ruhezeit";

// The state a request's mode names; any text but "hibernate" means standby.
inline SleepState requestedState(std::string_view mode) {
    return mode == kHibernate ? SleepState::Hibernate : SleepState::Standby;
}

// Wake-up pickers that give no date and time.
inline constexpr std::string_view kInvalidWakeUp =
    "Die Aufwachzeit ist ungültig: Tag, Monat, Jahr, Stunde und Minute müssen ganze Zahlen "
    "sein und ein gültiges Datum mit Uhrzeit ergeben.";

// "Ruhezustand" or "Standbyzustand", as the German texts name the states.
inline std::string_view stateWord(SleepState state) {
    return state == SleepState::Hibernate ? "Ruhezustand" : "Standbyzustand";
}

// The title of the program's own message boxes.
inline constexpr std::string_view kApplicationTitle = "Somnar-Scheduler";

}  // namespace somnar
