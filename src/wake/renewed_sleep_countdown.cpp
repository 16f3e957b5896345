#include "wake/renewed_sleep_countdown.h"

namespace somnar {

RenewedSleepAnswer RenewedSleepCountdown::tick(const RenewedSleepTick& tick) {
    using Kind = RenewedSleepAnswer::Kind;
    if (!tick.requestStands) {
        count_.pause();
        return {Kind::Paused, {}, std::nullopt};
    }
    const auto minutes = renewedSleepMinutes(tick.minutesText);
    if (!minutes) {
        count_.pause();
        return {Kind::MinutesInvalid, "Angehalten: Minuten ungültig", std::nullopt};
    }
    const double total = *minutes * 60.0;
    // The line shows the time left before this tick counts.
    const std::string left = timeLeftText(static_cast<long>(total - count_.elapsedSeconds()));
    std::string status;
    if (tick.state == SleepState::Hibernate) {
        status = "Nächster Ruhezustand in " + left + " min";
    } else if (tick.state == SleepState::Standby) {
        status = "Nächster Standbyzustand aktiv in " + left + " min";
    }
    count_.count(tick.now, tick.run, tick.interval);
    if (count_.elapsedSeconds() < total) {
        return {Kind::Counting, std::move(status), std::nullopt};
    }
    count_.reset();
    return {Kind::Due, {}, tick.state};
}

}  // namespace somnar
