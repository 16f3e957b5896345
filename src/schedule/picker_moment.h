#pragma once

#include <optional>
#include <string>

#include "app/controls.h"
#include "platform/clock.h"

namespace somnar {

// The text without the blanks around it.
std::string trimmed(const std::string& text);

// A picker text as a whole number: digits only, blanks around them allowed.
std::optional<int> wholeNumber(const std::string& text);

// The date and minute five pickers show, when they form a real calendar date (with a
// four-digit year) and a time of day; empty otherwise.
std::optional<LocalDateTime> pickerMoment(const MomentPickers& pickers);

// The calendar day after the given one, across month and year ends.
LocalDateTime nextDay(const LocalDateTime& moment);

// 1 for Sunday up to 7 for Saturday.
int weekdayNumber(const LocalDateTime& moment);

// The moment with its seconds dropped.
LocalDateTime startOfMinute(LocalDateTime moment);

// Earlier or later, to the second.
bool isBefore(const LocalDateTime& a, const LocalDateTime& b);

}  // namespace somnar
