#pragma once

#include <optional>
#include <string>

#include "platform/clock.h"

namespace somnar {

// The texts of the five pickers of a moment, as they stand.
struct MomentTexts {
    std::string day;
    std::string month;
    std::string year;
    std::string hour;
    std::string minute;
};

// The text without the blanks around it.
std::string trimmed(const std::string& text);

// A picker text as a whole number: digits only, blanks around them allowed.
std::optional<int> wholeNumber(const std::string& text);

// The date and minute five pickers show, when they form a real calendar date (with a
// four-digit year) and a time of day; empty otherwise.
std::optional<LocalDateTime> pickerMoment(const MomentTexts& pickers);

// The calendar day after the given one, across month and year ends.
LocalDateTime nextDay(const LocalDateTime& moment);

// 1 for Sunday up to 7 for Saturday.
int weekdayNumber(const LocalDateTime& moment);

// The moment with its seconds dropped.
LocalDateTime startOfMinute(LocalDateTime moment);

// A wake-up moment already gone by moves to the day after `now`, across month and year
// ends; its time of day stays. Any other moment comes back as it is.
LocalDateTime wakeUpAfter(const LocalDateTime& now, LocalDateTime wakeUp);

// Weekday name, ", ", then the pickers' texts as they stand: "Montag, 7.12.2026 10:00".
std::string momentText(const LocalDateTime& moment, const MomentTexts& pickers);

// Earlier or later, to the second.
bool isBefore(const LocalDateTime& a, const LocalDateTime& b);

}  // namespace somnar
