#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace somnar {

// A moment on the local wall clock, as the pickers and the clock display see it.
struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;

    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class Clock {
  public:
    virtual ~Clock() = default;

    virtual LocalDateTime now() const = 0;

    // The locale's general date-and-time text: short date, one blank, the time with
    // seconds; the date alone at exactly 00:00:00.
    virtual std::string generalDateTimeText(const LocalDateTime& moment) const = 0;

    // The moment in UTC at which the local wall clock shows `moment`, with the time
    // zone's offset in force on that date (not today's). Empty when it cannot be told.
    virtual std::optional<std::chrono::sys_seconds> localToUtc(
        const LocalDateTime& moment) const = 0;

    // Time on a clock that never jumps (not with the wall clock, nor with the time zone)
    // and counts while the machine is awake; only differences between two readings mean
    // anything.
    virtual std::chrono::milliseconds monotonic() const = 0;

    // The present moment in UTC, to the millisecond.
    virtual std::chrono::sys_time<std::chrono::milliseconds> utcNow() const = 0;
};

}  // namespace somnar
