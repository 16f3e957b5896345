#include "platform/linux/system_clock.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "backends/test_environment.h"

namespace somnar {
namespace {

using namespace std::chrono;

constexpr LocalDateTime kMorning{2026, 12, 6, 7, 15, 42};
constexpr LocalDateTime kEvening{2026, 12, 6, 19, 5, 9};
constexpr LocalDateTime kMidnight{2026, 12, 6, 0, 0, 0};
constexpr LocalDateTime kSecondAfterMidnight{2026, 12, 6, 0, 0, 1};
constexpr LocalDateTime kNewYear{2000, 1, 1, 12, 0, 0};

std::string text(const QLocale& locale, const LocalDateTime& moment) {
    return SystemClock(locale).generalDateTimeText(moment);
}

TEST(SystemClockTextTest, GermanShortDateWithFourDigitYearAndTimeWithSeconds) {
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(text(german, kMorning), "06.12.2026 07:15:42");
    EXPECT_EQ(text(german, kEvening), "06.12.2026 19:05:09");
    EXPECT_EQ(text(german, kNewYear), "01.01.2000 12:00:00");
}

TEST(SystemClockTextTest, DateAloneOnlyAtExactlyMidnight) {
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(text(german, kMidnight), "06.12.2026");
    EXPECT_EQ(text(german, kSecondAfterMidnight), "06.12.2026 00:00:01");
    EXPECT_EQ(text(german, {2026, 12, 6, 0, 1, 0}), "06.12.2026 00:01:00");
    EXPECT_EQ(text(german, {2026, 12, 6, 12, 0, 0}), "06.12.2026 12:00:00");
}

TEST(SystemClockTextTest, AmericanFormKeepsItsOrderAndTwelveHourClock) {
    const QLocale american(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(text(american, kMorning), "12/6/2026 7:15:42 AM");
    EXPECT_EQ(text(american, kEvening), "12/6/2026 7:05:09 PM");
    EXPECT_EQ(text(american, kMidnight), "12/6/2026");
}

TEST(SystemClockTextTest, SecondsTakeTheLocalesTimeSeparator) {
    // Finnish writes "7.15": the seconds follow with a dot as well.
    EXPECT_EQ(text(QLocale(QLocale::Finnish, QLocale::Finland), kMorning), "6.12.2026 7.15.42");
}

TEST(SystemClockTextTest, FourDigitYearFormatsStayAsTheyAre) {
    EXPECT_EQ(text(QLocale(QLocale::English, QLocale::UnitedKingdom), kMorning),
              "06/12/2026 07:15:42");
    EXPECT_EQ(text(QLocale(QLocale::Japanese, QLocale::Japan), kMorning), "2026/12/06 7:15:42");
}

TEST(SystemClockTextTest, PlainCLocaleGivesTheGermanForm) {
    EXPECT_EQ(text(QLocale::c(), kMorning), "06.12.2026 07:15:42");
    EXPECT_EQ(text(QLocale::c(), kMidnight), "06.12.2026");
    EXPECT_EQ(text(QLocale(QStringLiteral("POSIX")), kEvening), "06.12.2026 19:05:09");
}

// The moment as seconds on a calendar without time zone, to compare with std::chrono.
sys_seconds onCalendar(const LocalDateTime& moment) {
    const year_month_day date{year{moment.year}, month{static_cast<unsigned>(moment.month)},
                              day{static_cast<unsigned>(moment.day)}};
    return sys_days{date} + hours{moment.hour} + minutes{moment.minute} + seconds{moment.second};
}

// now() read under a POSIX time zone string, checked against the system clock shifted by
// that zone's offset; the zone is changed while the program runs, as an admin might.
void expectNowInZone(const char* zone, seconds offset) {
    SCOPED_TRACE(zone);
    const test::ScopedEnv timeZone("TZ", zone);
    const SystemClock clock(QLocale::c());

    const auto before = floor<seconds>(system_clock::now()) + offset;
    const LocalDateTime now = clock.now();
    const auto after = floor<seconds>(system_clock::now()) + offset;

    ASSERT_TRUE(year_month_day(year{now.year}, month{static_cast<unsigned>(now.month)},
                               day{static_cast<unsigned>(now.day)})
                    .ok());
    EXPECT_GE(onCalendar(now), before - seconds{1});
    EXPECT_LE(onCalendar(now), after + seconds{1});
}

TEST(SystemClockNowTest, AgreesWithSystemTimeInTheLocalZone) {
    expectNowInZone("UTC0", seconds{0});
    // POSIX offsets count west of Greenwich: "-5:30" is five and a half hours east.
    expectNowInZone("XYZ-5:30", hours{5} + minutes{30});
    expectNowInZone("ABC+10", -hours{10});
    expectNowInZone("UTC0", seconds{0});
}

}  // namespace
}  // namespace somnar
