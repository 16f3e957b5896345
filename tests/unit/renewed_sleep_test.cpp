// The countdown to a renewed sleep after waking, tick by tick, and the clock.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

struct RenewedSleepTest : FormTest {
    void SetUp() override {
        FormTest::SetUp();
        form.chkSLEEPnachSOMNAR.setValue(1);
        form.confirmed = true;
        form.Timer1.setEnabled(true);
    }
    // One tick, on time.
    void tick() {
        platform.clock.advance(std::chrono::milliseconds(500));
        form.Timer1.tick();
    }
    // Ticks until the countdown stops or the limit is reached; returns the ticks made.
    int tickUntilFired(int limit) {
        int ticks = 0;
        while (form.Timer1.enabled() && ticks < limit) {
            tick();
            ++ticks;
        }
        return ticks;
    }
};

TEST_F(RenewedSleepTest, TwentyMinutesCountDownTickByTickAndFireAtTick2400) {
    tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 20:00 min");
    tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 19:59 min");
    tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 19:59 min");
    tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 19:58 min");
    const int ticks = 4 + tickUntilFired(5000);
    EXPECT_EQ(ticks, 2400);
    EXPECT_EQ(form.Label26.caption(), "");
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_FALSE(form.confirmed);
    EXPECT_EQ(form.elapsed, 0);
    EXPECT_EQ(platform.power.sleeps, std::vector<SleepState>{SleepState::Hibernate});
    EXPECT_TRUE(platform.wakeAlarm.armed.empty());  // no wake-up on this path
}

// Nobody may be at the machine: the refusal waits in the line, the journal and a
// notification, not in a box.
TEST_F(RenewedSleepTest, ARenewedSleepThatIsRefusedIsReportedWithoutABox) {
    form.cmbSpanne.setText("   1");
    platform.power.result = {SleepOutcome::Refused, "Operation in progress"};
    tickUntilFired(200);
    const std::string text =
        "Der Rechner wurde nicht in den Ruhezustand versetzt. Die Energieverwaltung hat die "
        "Anfrage abgelehnt. Operation in progress";
    EXPECT_EQ(form.Label26.caption(), text);
    EXPECT_TRUE(platform.dialogs.shown.empty());
    ASSERT_EQ(platform.notifier.shown.size(), 1u);
    EXPECT_EQ(platform.notifier.shown[0].second, text);
    EXPECT_EQ(platform.journal.entries.size(), 1u);
}

TEST_F(RenewedSleepTest, LastSecondShowsTwiceAndTheFiringTickEmptiesTheLine) {
    form.cmbSpanne.setText("   1");
    for (int i = 1; i <= 118; ++i) {
        tick();
    }
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 00:01 min");
    tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 00:01 min");
    EXPECT_TRUE(form.Timer1.enabled());
    tick();  // the 120th
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_EQ(form.Label26.caption(), "");
    EXPECT_EQ(platform.power.sleeps.size(), 1u);
}

TEST_F(RenewedSleepTest, StandbyChoiceHasItsOwnTextAndSleep) {
    form.Option1[1].setValue(true);
    form.cmbSpanne.setText("  90");
    tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Standbyzustand aktiv in 90:00 min");
    tickUntilFired(20000);
    EXPECT_EQ(platform.power.sleeps, std::vector<SleepState>{SleepState::Standby});
}

TEST_F(RenewedSleepTest, TheLineBlinksAtEveryCountingTick) {
    const bool first = form.Label26.enabled();
    tick();
    EXPECT_NE(form.Label26.enabled(), first);
    tick();
    EXPECT_EQ(form.Label26.enabled(), first);
}

TEST_F(RenewedSleepTest, PausesWhileNotConfirmedOrUntickedAndResumesFromTheCount) {
    form.cmbSpanne.setText("   1");
    for (int i = 0; i < 10; ++i) {
        tick();
    }
    EXPECT_EQ(form.elapsed, 5.0);
    form.confirmed = false;
    tick();
    platform.clock.advance(std::chrono::seconds(30));  // a pause counts nothing
    form.chkSLEEPnachSOMNAR.setValue(0);
    form.confirmed = true;
    tick();
    EXPECT_EQ(form.elapsed, 5.0);
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 00:55 min");
    form.chkSLEEPnachSOMNAR.setValue(1);
    tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 00:55 min");
    EXPECT_EQ(tickUntilFired(1000), 109);
}

TEST_F(RenewedSleepTest, AMinutesTextThatIsNoNumberPausesSaysWhyAndKeepsTheCount) {
    tick();
    form.cmbSpanne.setText("zwanzig");
    tick();
    EXPECT_EQ(form.elapsed, 0.5);
    EXPECT_EQ(form.Label26.caption(), "Angehalten: Minuten ungültig");
    EXPECT_TRUE(form.Timer1.enabled());
}

// A tick held up by a blocking upload or an open box: the time that passed still counts.
TEST_F(RenewedSleepTest, ALateTickCountsTheTimeThatReallyPassed) {
    form.cmbSpanne.setText("   1");
    tick();
    platform.clock.advance(std::chrono::milliseconds(59500));
    form.Timer1.tick();
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_EQ(platform.power.sleeps.size(), 1u);
}

TEST_F(RenewedSleepTest, ASpanLoweredBelowTheCountFiresAtThatTick) {
    for (int i = 0; i < 200; ++i) {
        tick();
    }
    form.cmbSpanne.setText("   1");
    tick();
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_EQ(platform.power.sleeps.size(), 1u);
}

TEST_F(RenewedSleepTest, WithNeitherOptionChosenItEndsWithoutSleeping) {
    form.Option1[0].setValue(false);
    form.cmbSpanne.setText("   1");
    form.Label26.setCaption("vorher");
    tick();
    EXPECT_EQ(form.Label26.caption(), "vorher");
    EXPECT_EQ(tickUntilFired(1000), 119);
    EXPECT_TRUE(platform.power.sleeps.empty());
    EXPECT_FALSE(form.confirmed);
}

TEST_F(RenewedSleepTest, TicksKeepTheClockAndMidnightShowsTheDateAlone) {
    platform.clock.set(2026, 12, 7, 0, 0, 0);
    tick();
    EXPECT_EQ(form.Label4.caption(), "07.12.2026");
    platform.clock.set(2026, 12, 7, 0, 0, 1);
    form.tmrAktZeit.tick();
    EXPECT_EQ(form.Label4.caption(), "07.12.2026 00:00:01");
}

}  // namespace
}  // namespace somnar
