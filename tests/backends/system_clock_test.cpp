#include "platform/linux/system_clock.h"

#include <QLocale>

#include "backends/test_environment.h"

namespace somnar {
namespace {

using namespace std::chrono;

constexpr LocalDateTime kMorning{2026, 12, 6, 7, 15, 42};
constexpr LocalDateTime kMidnight{2026, 12, 6, 0, 0, 0};

// The locale's short date with a four-digit year and its time with seconds; the date alone
// only at exactly midnight; the plain C locale gives the German form.
TEST(SystemClockTest, DateAndTimeTextFollowsTheLocale) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const struct {
        QLocale locale;
        LocalDateTime moment;
        const char* text;
    } cases[] = {{german, kMorning, "06.12.2026 07:15:42"},
                 {german, kMidnight, "06.12.2026"},
                 {QLocale(QLocale::English, QLocale::UnitedStates),
                  {2026, 12, 6, 19, 5, 9},
                  "12/6/2026 7:05:09 PM"},
                 {QLocale::c(), kMorning, "06.12.2026 07:15:42"}};
    for (const auto& c : cases) {
        EXPECT_EQ(SystemClock(c.locale).generalDateTimeText(c.moment), c.text);
    }
}

sys_seconds onCalendar(const LocalDateTime& t) {
    return sys_days{year{t.year} / t.month / t.day} + hours{t.hour} + minutes{t.minute} +
           seconds{t.second};
}

// A wake-up set across a change to or from summer time comes at the time the user picked:
// a skipped time counts with the offset before the change, a repeated one is its first.
TEST(SystemClockTest, LocalTimesBecomeUtcByTheRulesOfTheirOwnDate) {
    const struct {
        const char* zone;
        LocalDateTime local;
        std::optional<LocalDateTime> utc;
    } cases[] = {{"Europe/Berlin", kMorning, {{2026, 12, 6, 6, 15, 42}}},
                 {"Europe/Berlin", {2026, 7, 15, 12, 0, 0}, {{2026, 7, 15, 10, 0, 0}}},
                 {"Europe/Berlin", {2027, 3, 28, 2, 30, 0}, {{2027, 3, 28, 1, 30, 0}}},
                 {"Europe/Berlin", {2027, 3, 28, 3, 0, 0}, {{2027, 3, 28, 1, 0, 0}}},
                 {"Europe/Berlin", {2026, 10, 25, 2, 30, 0}, {{2026, 10, 25, 0, 30, 0}}},
                 {"Europe/Berlin", {2026, 10, 25, 3, 0, 0}, {{2026, 10, 25, 2, 0, 0}}},
                 // Changes of standard time, which the summer-time flag cannot tell.
                 {"Europe/Moscow", {2014, 10, 26, 1, 30, 0}, {{2014, 10, 25, 21, 30, 0}}},
                 {"Pacific/Apia", {2011, 12, 31, 12, 0, 0}, {{2011, 12, 30, 22, 0, 0}}},
                 {"UTC0", {2028, 2, 29, 12, 0, 0}, {{2028, 2, 29, 12, 0, 0}}},
                 {"UTC0", {2027, 2, 29, 12, 0, 0}, {}},
                 {"UTC0", {2026, 12, 6, 12, 0, 60}, {}}};
    const SystemClock clock(QLocale::c());
    for (const auto& c : cases) {
        const test::ScopedEnv zone("TZ", c.zone);
        const auto expected = c.utc ? std::optional(onCalendar(*c.utc)) : std::nullopt;
        EXPECT_EQ(clock.localToUtc(c.local), expected)
            << c.zone << " " << c.local.day << "." << c.local.month << ". " << c.local.hour;
    }
}

}  // namespace
}  // namespace somnar
