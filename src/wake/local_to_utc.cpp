#include "wake/local_to_utc.h"

namespace somnar {

std::optional<std::chrono::sys_seconds> localToUtc(const LocalDateTime& moment,
                                                   const UtcOffsetAt& offsetAt) {
    using namespace std::chrono;
    const year_month_day date{year{moment.year}, month{static_cast<unsigned>(moment.month)},
                              day{static_cast<unsigned>(moment.day)}};
    if (!date.ok() || moment.hour < 0 || moment.hour > 23 || moment.minute < 0 ||
        moment.minute > 59 || moment.second < 0 || moment.second > 59) {
        return std::nullopt;
    }
    const sys_seconds asIfUtc =
        sys_days{date} + hours{moment.hour} + minutes{moment.minute} + seconds{moment.second};
    // The true moment lies within 14 hours of asIfUtc, so a day either side gives the
    // offsets before and after any change near it. Trying both, rather than trusting a
    // summer-time flag, also covers zones that moved their standard offset.
    const auto before = offsetAt(asIfUtc - days{1});
    const auto after = offsetAt(asIfUtc + days{1});
    if (!before || !after) {
        return std::nullopt;
    }
    std::optional<sys_seconds> earliest;
    for (const seconds offset : {*before, *after}) {
        const sys_seconds candidate = asIfUtc - offset;
        // The wall clock shows the moment there only when that offset is in force there.
        if (offsetAt(candidate) == offset && (!earliest || candidate < *earliest)) {
            earliest = candidate;
        }
    }
    if (earliest) {
        return earliest;
    }
    // Skipped by the clocks going forward: count with the offset before the change.
    return asIfUtc - *before;
}

}  // namespace somnar
