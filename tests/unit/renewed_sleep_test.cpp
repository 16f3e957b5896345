// The countdown to a renewed sleep after waking, tick by tick, and the clock.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

struct RenewedSleepTest : FormTest {
    void SetUp() override {
        FormTest::SetUp();
        form.renewedSleepBox.setValue(1);
        form.sleeper.remember(form.sleeper.confirmationText(), true);
        form.renewedSleepTimer.setEnabled(true);
    }
    // One tick, on time.
    void tick() {
        platform.clock.advance(std::chrono::milliseconds(500));
        form.renewedSleepTimer.tick();
    }
    // Ticks until the countdown stops or the limit is reached; returns the ticks made.
    int tickUntilFired(int limit) {
        int ticks = 0;
        while (form.renewedSleepTimer.enabled() && ticks < limit) {
            tick();
            ++ticks;
        }
        return ticks;
    }
};

TEST_F(RenewedSleepTest, TwentyMinutesCountDownTickByTickAndFireAtTick2400) {
    tick();
    EXPECT_EQ(form.statusLine.caption(), "Nächster Ruhezustand in 20:00 min");
    tick();
    EXPECT_EQ(form.statusLine.caption(), "Nächster Ruhezustand in 19:59 min");
    tick();
    EXPECT_EQ(form.statusLine.caption(), "Nächster Ruhezustand in 19:59 min");
    tick();
    EXPECT_EQ(form.statusLine.caption(), "Nächster Ruhezustand in 19:58 min");
    const int ticks = 4 + tickUntilFired(5000);
    EXPECT_EQ(ticks, 2400);
    EXPECT_EQ(form.statusLine.caption(), "");
    EXPECT_FALSE(form.renewedSleepTimer.enabled());
    EXPECT_FALSE(form.sleeper.confirmed());
    EXPECT_EQ(form.afterWaking.renewedSleepCount().elapsedSeconds(), 0);
    EXPECT_EQ(platform.power.sleeps, std::vector<SleepState>{SleepState::Hibernate});
    EXPECT_TRUE(platform.wakeAlarm.armed.empty());  // no wake-up on this path
}

// Nobody may be at the machine: the refusal waits in the line, the journal and a
// notification, not in a box.
TEST_F(RenewedSleepTest, ARenewedSleepThatIsRefusedIsReportedWithoutABox) {
    form.renewedSleepSpan.setText("   1");
    platform.power.result = {SleepOutcome::Refused, "Operation in progress"};
    tickUntilFired(200);
    const std::string text =
        "Der Rechner wurde nicht in den Ruhezustand versetzt. Die Energieverwaltung hat die "
        "Anfrage abgelehnt. Operation in progress";
    EXPECT_EQ(form.statusLine.caption(), text);
    EXPECT_TRUE(platform.dialogs.shown.empty());
    ASSERT_EQ(platform.notifier.shown.size(), 1u);
    EXPECT_EQ(platform.notifier.shown[0].second, text);
    EXPECT_EQ(platform.journal.entries.size(), 1u);
}

TEST_F(RenewedSleepTest, LastSecondShowsTwiceAndTheFiringTickEmptiesTheLine) {
    form.renewedSleepSpan.setText("   1");
    for (int i = 1; i <= 118; ++i) {
        tick();
    }
    EXPECT_EQ(form.statusLine.caption(), "Nächster Ruhezustand in 00:01 min");
    tick();
    EXPECT_EQ(form.statusLine.caption(), "Nächster Ruhezustand in 00:01 min");
    EXPECT_TRUE(form.renewedSleepTimer.enabled());
    tick();  // the 120th
    EXPECT_FALSE(form.renewedSleepTimer.enabled());
    EXPECT_EQ(form.statusLine.caption(), "");
    EXPECT_EQ(platform.power.sleeps.size(), 1u);
}

TEST_F(RenewedSleepTest, StandbyChoiceHasItsOwnTextAndSleep) {
    form.renewedSleepState[1].setValue(true);
    form.renewedSleepSpan.setText("  90");
    tick();
    EXPECT_EQ(form.statusLine.caption(), "Nächster Standbyzustand aktiv in 90:00 min");
    tickUntilFired(20000);
    EXPECT_EQ(platform.power.sleeps, std::vector<SleepState>{SleepState::Standby});
}

TEST_F(RenewedSleepTest, TheLineBlinksAtEveryCountingTick) {
    const bool first = form.statusLine.enabled();
    tick();
    EXPECT_NE(form.statusLine.enabled(), first);
    tick();
    EXPECT_EQ(form.statusLine.enabled(), first);
}

TEST_F(RenewedSleepTest, PausesWhileNotConfirmedOrUntickedAndResumesFromTheCount) {
    form.renewedSleepSpan.setText("   1");
    for (int i = 0; i < 10; ++i) {
        tick();
    }
    EXPECT_EQ(form.afterWaking.renewedSleepCount().elapsedSeconds(), 5.0);
    form.sleeper.remember(form.sleeper.confirmationText(), false);
    tick();
    platform.clock.advance(std::chrono::seconds(30));  // a pause counts nothing
    form.renewedSleepBox.setValue(0);
    form.sleeper.remember(form.sleeper.confirmationText(), true);
    tick();
    EXPECT_EQ(form.afterWaking.renewedSleepCount().elapsedSeconds(), 5.0);
    EXPECT_EQ(form.statusLine.caption(), "Nächster Ruhezustand in 00:55 min");
    form.renewedSleepBox.setValue(1);
    tick();
    EXPECT_EQ(form.statusLine.caption(), "Nächster Ruhezustand in 00:55 min");
    EXPECT_EQ(tickUntilFired(1000), 109);
}

TEST_F(RenewedSleepTest, AMinutesTextThatIsNoNumberPausesSaysWhyAndKeepsTheCount) {
    tick();
    form.renewedSleepSpan.setText("zwanzig");
    tick();
    EXPECT_EQ(form.afterWaking.renewedSleepCount().elapsedSeconds(), 0.5);
    EXPECT_EQ(form.statusLine.caption(), "Angehalten: Minuten ungültig");
    EXPECT_TRUE(form.renewedSleepTimer.enabled());
}

// A tick held up by a blocking upload or an open box: the time that passed still counts.
TEST_F(RenewedSleepTest, ALateTickCountsTheTimeThatReallyPassed) {
    form.renewedSleepSpan.setText("   1");
    tick();
    platform.clock.advance(std::chrono::milliseconds(59500));
    form.renewedSleepTimer.tick();
    EXPECT_FALSE(form.renewedSleepTimer.enabled());
    EXPECT_EQ(platform.power.sleeps.size(), 1u);
}

TEST_F(RenewedSleepTest, ASpanLoweredBelowTheCountFiresAtThatTick) {
    for (int i = 0; i < 200; ++i) {
        tick();
    }
    form.renewedSleepSpan.setText("   1");
    tick();
    EXPECT_FALSE(form.renewedSleepTimer.enabled());
    EXPECT_EQ(platform.power.sleeps.size(), 1u);
}

TEST_F(RenewedSleepTest, WithNeitherOptionChosenItEndsWithoutSleeping) {
    form.renewedSleepState[0].setValue(false);
    form.renewedSleepSpan.setText("   1");
    form.statusLine.setCaption("vorher");
    tick();
    EXPECT_EQ(form.statusLine.caption(), "vorher");
    EXPECT_EQ(tickUntilFired(1000), 119);
    EXPECT_TRUE(platform.power.sleeps.empty());
    EXPECT_FALSE(form.sleeper.confirmed());
}

TEST_F(RenewedSleepTest, TicksKeepTheClockAndMidnightShowsTheDateAlone) {
    platform.clock.set(2026, 12, 7, 0, 0, 0);
    tick();
    EXPECT_EQ(form.clockLine.caption(), "07.12.2026");
    platform.clock.set(2026, 12, 7, 0, 0, 1);
    form.clockTimer.tick();
    EXPECT_EQ(form.clockLine.caption(), "07.12.2026 00:00:01");
}

}  // namespace
}  // namespace somnar
