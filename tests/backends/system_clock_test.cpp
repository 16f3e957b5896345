#include "platform/linux/system_clock.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
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

// The UTC moment written as its calendar date and time.
sys_seconds utc(int y, int mo, int d, int h, int mi, int s = 0) {
    return onCalendar({y, mo, d, h, mi, s});
}

class SystemClockToUtcTest : public ::testing::Test {
  protected:
    std::optional<sys_seconds> toUtc(const LocalDateTime& local) const {
        return clock_.localToUtc(local);
    }

    test::ScopedEnv zone_{"TZ", "Europe/Berlin"};
    SystemClock clock_{QLocale::c()};
};

TEST_F(SystemClockToUtcTest, WinterAndSummerDatesUseTheirOwnOffset) {
    // Whichever offset is in force today, one of the two differs from it.
    EXPECT_EQ(toUtc(kMorning), utc(2026, 12, 6, 6, 15, 42));
    EXPECT_EQ(toUtc({2026, 7, 15, 12, 0, 0}), utc(2026, 7, 15, 10, 0, 0));
}

TEST_F(SystemClockToUtcTest, WakeUpAcrossTheChangeToWinterTime) {
    // Set on the Saturday evening in summer time for the Sunday morning after the change.
    EXPECT_EQ(toUtc({2026, 10, 24, 23, 30, 0}), utc(2026, 10, 24, 21, 30));
    EXPECT_EQ(toUtc({2026, 10, 25, 6, 30, 0}), utc(2026, 10, 25, 5, 30));
}

TEST_F(SystemClockToUtcTest, WakeUpAcrossTheChangeToSummerTime) {
    EXPECT_EQ(toUtc({2027, 3, 27, 22, 0, 0}), utc(2027, 3, 27, 21, 0));
    EXPECT_EQ(toUtc({2027, 3, 28, 1, 59, 59}), utc(2027, 3, 28, 0, 59, 59));
    EXPECT_EQ(toUtc({2027, 3, 28, 3, 0, 0}), utc(2027, 3, 28, 1, 0));
    EXPECT_EQ(toUtc({2027, 3, 28, 6, 30, 0}), utc(2027, 3, 28, 4, 30));
}

TEST_F(SystemClockToUtcTest, SkippedTimeCountsWithTheOffsetBeforeTheChange) {
    // 02:00 to 02:59:59 never shows on 28 March 2027; 02:30 becomes 03:30 summer time.
    EXPECT_EQ(toUtc({2027, 3, 28, 2, 0, 0}), utc(2027, 3, 28, 1, 0));
    EXPECT_EQ(toUtc({2027, 3, 28, 2, 30, 0}), utc(2027, 3, 28, 1, 30));
    EXPECT_EQ(toUtc({2027, 3, 28, 2, 59, 59}), utc(2027, 3, 28, 1, 59, 59));
}

TEST_F(SystemClockToUtcTest, RepeatedTimeIsItsFirstOccurrence) {
    // 02:00 to 02:59:59 shows twice on 25 October 2026: first in summer time.
    EXPECT_EQ(toUtc({2026, 10, 25, 1, 59, 59}), utc(2026, 10, 24, 23, 59, 59));
    EXPECT_EQ(toUtc({2026, 10, 25, 2, 0, 0}), utc(2026, 10, 25, 0, 0));
    EXPECT_EQ(toUtc({2026, 10, 25, 2, 30, 0}), utc(2026, 10, 25, 0, 30));
    EXPECT_EQ(toUtc({2026, 10, 25, 2, 59, 59}), utc(2026, 10, 25, 0, 59, 59));
    EXPECT_EQ(toUtc({2026, 10, 25, 3, 0, 0}), utc(2026, 10, 25, 2, 0));
}

TEST_F(SystemClockToUtcTest, ChangesOfStandardTimeFollowTheSameRules) {
    // Neither change touches summer time, so the summer-time flag cannot tell them.
    const test::ScopedEnv moscow("TZ", "Europe/Moscow");  // +4 to +3: 01:00-01:59 twice
    EXPECT_EQ(toUtc({2014, 10, 26, 1, 30, 0}), utc(2014, 10, 25, 21, 30));
    const test::ScopedEnv samoa("TZ", "Pacific/Apia");  // -10 to +14: 30 December skipped
    EXPECT_EQ(toUtc({2011, 12, 30, 12, 0, 0}), utc(2011, 12, 30, 22, 0));
    EXPECT_EQ(toUtc({2011, 12, 31, 12, 0, 0}), utc(2011, 12, 30, 22, 0));
}

TEST_F(SystemClockToUtcTest, FollowsAChangeOfTheTimeZone) {
    const LocalDateTime noon{2026, 7, 15, 12, 0, 0};
    EXPECT_EQ(toUtc(noon), utc(2026, 7, 15, 10, 0));
    {
        const test::ScopedEnv india("TZ", "Asia/Kolkata");
        EXPECT_EQ(toUtc(noon), utc(2026, 7, 15, 6, 30));
    }
    const test::ScopedEnv universal("TZ", "UTC0");
    EXPECT_EQ(toUtc(noon), utc(2026, 7, 15, 12, 0));
}

TEST_F(SystemClockToUtcTest, ImpossibleFieldsGiveNothing) {
    EXPECT_EQ(toUtc({2026, 13, 1, 12, 0, 0}), std::nullopt);
    EXPECT_EQ(toUtc({2026, 0, 1, 12, 0, 0}), std::nullopt);
    EXPECT_EQ(toUtc({2026, -1, 1, 12, 0, 0}), std::nullopt);
    EXPECT_EQ(toUtc({2026, 2, 30, 12, 0, 0}), std::nullopt);
    EXPECT_EQ(toUtc({2027, 2, 29, 12, 0, 0}), std::nullopt);
    EXPECT_EQ(toUtc({2026, 12, 0, 12, 0, 0}), std::nullopt);
    EXPECT_EQ(toUtc({2026, 12, 6, 24, 0, 0}), std::nullopt);
    EXPECT_EQ(toUtc({2026, 12, 6, -1, 0, 0}), std::nullopt);
    EXPECT_EQ(toUtc({2026, 12, 6, 12, 60, 0}), std::nullopt);
    EXPECT_EQ(toUtc({2026, 12, 6, 12, 0, 60}), std::nullopt);
    EXPECT_EQ(toUtc({2028, 2, 29, 12, 0, 0}), utc(2028, 2, 29, 11, 0));
    EXPECT_EQ(toUtc({2026, 12, 31, 23, 59, 59}), utc(2026, 12, 31, 22, 59, 59));
}

}  // namespace
}  // namespace somnar
