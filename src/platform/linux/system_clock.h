#pragma once

#include <QLocale>

#include <chrono>
#include <optional>
#include <string>

#include "platform/clock.h"

namespace somnar {

// The machine's wall clock in its local time zone, and the locale's date-and-time text.
class SystemClock : public Clock {
  public:
    // The texts follow the user's locale (QLocale::system()).
    SystemClock();
    explicit SystemClock(const QLocale& locale);

    // Follows a change of the time zone (TZ or /etc/localtime) while the program runs.
    LocalDateTime now() const override;

    // The locale's short date widened to a four-digit year, one blank, the locale's short
    // time with seconds; the date alone at 00:00:00. The C/POSIX locale (no locale chosen)
    // gives the German form "dd.MM.yyyy HH:mm:ss", the language of the program.
    std::string generalDateTimeText(const LocalDateTime& moment) const override;

    // By the local zone's rules for that date (see wake/local_to_utc.h).
    std::optional<std::chrono::sys_seconds> localToUtc(const LocalDateTime& moment) const override;

    // CLOCK_MONOTONIC: stands still while the machine sleeps.
    std::chrono::milliseconds monotonic() const override;
    std::chrono::sys_time<std::chrono::milliseconds> utcNow() const override;

  private:
    QLocale locale_;
    QString dateFormat_;
    QString timeFormat_;
};

}  // namespace somnar
