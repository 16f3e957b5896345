#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/clock.h"

namespace somnar {

// The machine's wall clock in the time zone Windows is set to, and the user's regional
// settings for the date-and-time text.
class WindowsClock final : public Clock {
  public:
    LocalDateTime now() const override;

    // The user's short date with a four-digit year, one blank, the user's time format
    // (which carries the seconds); the date alone at 00:00:00.
    std::string generalDateTimeText(const LocalDateTime& moment) const override;

    // By the zone's rules for that date (see wake/local_to_utc.h), as Windows keeps them
    // per year (GetTimeZoneInformationForYear).
    std::optional<std::chrono::sys_seconds> localToUtc(const LocalDateTime& moment) const override;

    // The interrupt time without the time spent asleep: stands still while the machine
    // sleeps, as on Linux.
    std::chrono::milliseconds monotonic() const override;
    std::chrono::sys_time<std::chrono::milliseconds> utcNow() const override;
};

}  // namespace somnar
