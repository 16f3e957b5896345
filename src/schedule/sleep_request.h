#pragma once

#include <optional>
#include <string_view>

#include "platform/sleep_state.h"

namespace somnar {

// The texts that name a request: its sleep state and when it is to begin.
inline constexpr std::string_view kHibernate = "hibernate";
inline constexpr std::string_view kStandby = "standby";
inline constexpr std::string_view kNow = "sofort";
inline constexpr std::string_view kAtSleepTime = "ruhezeit";

// The sleep state a mode text names; empty for any other text.
inline std::optional<SleepState> sleepStateOf(std::string_view mode) {
    if (mode == kHibernate) {
        return SleepState::Hibernate;
    }
    if (mode == kStandby) {
        return SleepState::Standby;
    }
    return std::nullopt;
}

// "Ruhezustand" or "Standbyzustand", as the German texts name the states.
inline std::string_view stateWord(SleepState state) {
    return state == SleepState::Hibernate ? "Ruhezustand" : "Standbyzustand";
}

// The title of the program's own message boxes.
inline constexpr std::string_view kApplicationTitle = "Somnar-Scheduler";

}  // namespace somnar
