#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "schedule/picker_moment.h"
#include "schedule/sleep_request.h"

namespace somnar {

// What the pickers and options say about a sleep request, as plain texts.
struct RequestInput {
    SleepRequest request;
    bool wakeWanted = false;
    MomentTexts sleepAt;
    MomentTexts wakeUp;
    // The renewed-sleep minutes as the picker shows them, when that option is ticked.
    std::optional<std::string> renewedMinutes;
};

struct RequestAnswer {
    enum class Kind {
        Go,            // sleep at `sleepAt` (empty: now), wake at `wakeUp` (empty: not)
        Refuse,        // `refusal` says why
        WakeUpGoneBy,  // the wake-up has gone by; `wakeUp` is tomorrow's, for the user to accept
    };
    Kind kind = Kind::Go;
    std::string refusal;
    std::optional<LocalDateTime> sleepAt;
    std::optional<LocalDateTime> wakeUp;
};

// The warning that a wake-up gone by moves to tomorrow.
inline constexpr std::string_view kWakeUpMovedText =
    "Die aktuelle Zeit ist grösser als die eingestellte Aufwachzeit. Deshalb wurde der Tag um "
    "eins erhöht!";

// Checks a request against the present moment. Texts that give no date and time would leave
// nothing sound to sleep or wake by; a sleep minute gone by never comes; a wake-up gone by
// moves to tomorrow once the user has accepted that (`tomorrowAccepted`); a wake-up at or
// before the sleep minute would be gone by the time the machine sleeps.
RequestAnswer checkRequest(const RequestInput& input, const LocalDateTime& now,
                           bool tomorrowAccepted = false);

}  // namespace somnar
