#pragma once

#include <string_view>

#include "platform/sleep_state.h"

namespace somnar {

// When a requested sleep begins: at once, or at the minute the sleep-time pickers show.
enum class SleepMoment { Now, AtSleepTime };

// What the user asked for with one of the four sleep commands.
struct SleepRequest {
    SleepState state = SleepState::Standby;
    SleepMoment moment = SleepMoment::Now;
};

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
