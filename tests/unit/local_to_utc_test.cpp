// The wall clock's moment in UTC by the zone's rules of its own date.

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "wake/local_to_utc.h"

namespace somnar {
namespace {

using namespace std::chrono;
using testing::utc;

// A zone given as the moments (UTC) at which its offset changes, and the offsets.
UtcOffsetAt zone(std::vector<std::pair<sys_seconds, hours>> changes, hours first) {
    return [=](sys_seconds at) -> std::optional<seconds> {
        hours offset = first;
        for (const auto& [from, next] : changes) {
            offset = at >= from ? next : offset;
        }
        return offset;
    };
}

TEST(LocalToUtcTest, SkippedTimesCountBeforeTheChangeAndRepeatedOnesAtTheirFirst) {
    // Berlin 2026: summer time from 29 March 01:00 UTC to 25 October 01:00 UTC.
    const UtcOffsetAt berlin =
        zone({{utc(2026, 3, 29, 1, 0), 2h}, {utc(2026, 10, 25, 1, 0), 1h}}, 1h);
    // Moscow moved its standard time from +4 to +3 with no summer time on either side.
    const UtcOffsetAt moscow = zone({{utc(2014, 10, 25, 22, 0), 3h}}, 4h);
    const UtcOffsetAt unknown = [](sys_seconds) { return std::optional<seconds>(); };
    using Case = std::tuple<const char*, UtcOffsetAt, LocalDateTime, std::optional<sys_seconds>>;
    const Case cases[] = {
        {"winter", berlin, {2026, 1, 10, 8, 15, 30}, utc(2026, 1, 10, 7, 15) + 30s},
        {"summer", berlin, {2026, 7, 15, 12, 0, 0}, utc(2026, 7, 15, 10, 0)},
        {"skipped", berlin, {2026, 3, 29, 2, 30, 0}, utc(2026, 3, 29, 1, 30)},
        {"first after the skip", berlin, {2026, 3, 29, 3, 0, 0}, utc(2026, 3, 29, 1, 0)},
        {"repeated", berlin, {2026, 10, 25, 2, 30, 0}, utc(2026, 10, 25, 0, 30)},
        {"standard offset moved", moscow, {2014, 10, 26, 1, 30, 0}, utc(2014, 10, 25, 21, 30)},
        {"30 February", berlin, {2026, 2, 30, 12, 0, 0}, std::nullopt},
        {"24:00", berlin, {2026, 5, 1, 24, 0, 0}, std::nullopt},
        {"12:60", berlin, {2026, 5, 1, 12, 60, 0}, std::nullopt},
        {"offset unknown", unknown, {2026, 5, 1, 12, 0, 0}, std::nullopt},
    };
    for (const auto& [name, offsetAt, local, expected] : cases) {
        EXPECT_EQ(localToUtc(local, offsetAt), expected) << name;
    }
}

}  // namespace
}  // namespace somnar
