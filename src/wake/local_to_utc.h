#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "platform/clock.h"

namespace somnar {

// The offset of the local wall clock from UTC in force at a UTC moment; empty when the
// system cannot tell.
using UtcOffsetAt = std::function<std::optional<std::chrono::seconds>(std::chrono::sys_seconds)>;

// The moment in UTC at which the local wall clock shows `moment`, by the zone's rules for
// that date (not today's offset), so a wake-up set across a change to or from summer
// time still comes at the time the user picked. Two wall-clock times need a choice: one
// skipped when the clocks go forward counts with the offset before the change (02:30
// becomes 03:30 summer time, as far past the change as 02:30 would have been); one shown
// twice when the clocks go back is its first occurrence, so the machine is not woken an
// hour later than it could be. Empty for impossible fields (month 13, 30 February, 24:00)
// and when the offsets cannot be told.
std::optional<std::chrono::sys_seconds> localToUtc(const LocalDateTime& moment,
                                                   const UtcOffsetAt& offsetAt);

}  // namespace somnar
