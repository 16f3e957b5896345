#include "schedule/request_check.h"

#include "wake/renewed_sleep_count.h"

namespace somnar {
namespace {

constexpr std::string_view kInvalidSleepTime =
    "Die Zeit für den Ruhe- oder Standbyzustand ist ungültig: Tag, Monat, Jahr, Stunde und "
    "Minute müssen ganze Zahlen sein und ein gültiges Datum mit Uhrzeit ergeben.";
constexpr std::string_view kSleepTimeGone =
    "Die Zeit für den Ruhe- oder Standbyzustand liegt in der Vergangenheit. Bitte eine spätere "
    "Zeit einstellen.";
constexpr std::string_view kWakeUpNotAfterSleep =
    "Die Aufwachzeit muss nach der Zeit für den Ruhe- oder Standbyzustand liegen.";
constexpr std::string_view kInvalidMinutes =
    "Die Minuten bis zum erneuten Ruhe- oder Standbyzustand müssen eine ganze Zahl von 1 bis "
    "1440 sein.";

RequestAnswer refuse(std::string_view text) {
    return {RequestAnswer::Kind::Refuse, std::string(text), std::nullopt, std::nullopt};
}

}  // namespace

RequestAnswer checkRequest(const RequestInput& input, const LocalDateTime& now,
                           bool tomorrowAccepted) {
    const bool atSleepTime = input.request.moment == SleepMoment::AtSleepTime;
    std::optional<LocalDateTime> wakeUp = pickerMoment(input.wakeUp);
    const std::optional<LocalDateTime> sleepAt = pickerMoment(input.sleepAt);
    if (input.wakeWanted && !wakeUp) {
        return refuse(kInvalidWakeUp);
    }
    if (atSleepTime && !sleepAt) {
        return refuse(kInvalidSleepTime);
    }
    if (input.renewedMinutes && !renewedSleepMinutes(*input.renewedMinutes)) {
        return refuse(kInvalidMinutes);
    }
    // The present minute still comes due at the first tick; an earlier one never would.
    if (atSleepTime && isBefore(*sleepAt, startOfMinute(now))) {
        return refuse(kSleepTimeGone);
    }
    if (!input.wakeWanted) {
        wakeUp.reset();
    } else if (isBefore(*wakeUp, now)) {
        wakeUp = wakeUpAfter(now, *wakeUp);
        if (!tomorrowAccepted) {
            return {RequestAnswer::Kind::WakeUpGoneBy, {}, std::nullopt, wakeUp};
        }
    }
    if (wakeUp && atSleepTime && !isBefore(*sleepAt, *wakeUp)) {
        return refuse(kWakeUpNotAfterSleep);
    }
    return {RequestAnswer::Kind::Go, {}, atSleepTime ? sleepAt : std::nullopt, wakeUp};
}

}  // namespace somnar
