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
    // Ticks until the countdown stops or the limit is reached; returns the ticks made.
    int tickUntilFired(int limit) {
        int ticks = 0;
        while (form.Timer1.enabled() && ticks < limit) {
            form.Timer1.tick();
            ++ticks;
        }
        return ticks;
    }
};

TEST_F(RenewedSleepTest, TwentyMinutesCountDownTickByTickAndFireAtTick2400) {
    form.Timer1.tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 20:00 min");
    form.Timer1.tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 19:59 min");
    form.Timer1.tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 19:59 min");
    form.Timer1.tick();
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

TEST_F(RenewedSleepTest, LastSecondShowsTwiceAndTheFiringTickEmptiesTheLine) {
    form.cmbSpanne.setText("   1");
    for (int tick = 1; tick <= 118; ++tick) {
        form.Timer1.tick();
    }
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 00:01 min");
    form.Timer1.tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 00:01 min");
    EXPECT_TRUE(form.Timer1.enabled());
    form.Timer1.tick();  // the 120th
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_EQ(form.Label26.caption(), "");
    EXPECT_EQ(platform.power.sleeps.size(), 1u);
}

TEST_F(RenewedSleepTest, StandbyChoiceHasItsOwnTextAndSleep) {
    form.Option1[1].setValue(true);
    form.cmbSpanne.setText("  90");
    form.Timer1.tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Standbyzustand aktiv in 90:00 min");
    tickUntilFired(20000);
    EXPECT_EQ(platform.power.sleeps, std::vector<SleepState>{SleepState::Standby});
}

TEST_F(RenewedSleepTest, TheLineBlinksAtEveryCountingTick) {
    const bool first = form.Label26.enabled();
    form.Timer1.tick();
    EXPECT_NE(form.Label26.enabled(), first);
    form.Timer1.tick();
    EXPECT_EQ(form.Label26.enabled(), first);
}

TEST_F(RenewedSleepTest, PausesWhileNotConfirmedOrUntickedAndResumesFromTheCount) {
    form.cmbSpanne.setText("   1");
    for (int tick = 0; tick < 10; ++tick) {
        form.Timer1.tick();
    }
    EXPECT_EQ(form.elapsed, 5.0);
    form.confirmed = false;
    form.Timer1.tick();
    form.chkSLEEPnachSOMNAR.setValue(0);
    form.confirmed = true;
    form.Timer1.tick();
    EXPECT_EQ(form.elapsed, 5.0);
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 00:55 min");
    form.chkSLEEPnachSOMNAR.setValue(1);
    form.Timer1.tick();
    EXPECT_EQ(form.Label26.caption(), "Nächster Ruhezustand in 00:55 min");
    EXPECT_EQ(tickUntilFired(1000), 109);
}

TEST_F(RenewedSleepTest, AMinutesTextThatIsNoNumberPausesAndKeepsTheCount) {
    form.Timer1.tick();
    form.cmbSpanne.setText("zwanzig");
    form.Timer1.tick();
    EXPECT_EQ(form.elapsed, 0.5);
    EXPECT_TRUE(form.Timer1.enabled());
}

TEST_F(RenewedSleepTest, ASpanLoweredBelowTheCountFiresAtThatTick) {
    for (int tick = 0; tick < 200; ++tick) {
        form.Timer1.tick();
    }
    form.cmbSpanne.setText("   1");
    form.Timer1.tick();
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_EQ(platform.power.sleeps.size(), 1u);
}

TEST_F(RenewedSleepTest, WithNeitherOptionChosenItEndsWithoutSleeping) {
    form.Option1[0].setValue(false);
    form.cmbSpanne.setText("   1");
    form.Label26.setCaption("vorher");
    form.Timer1.tick();
    EXPECT_EQ(form.Label26.caption(), "vorher");
    EXPECT_EQ(tickUntilFired(1000), 119);
    EXPECT_TRUE(platform.power.sleeps.empty());
    EXPECT_FALSE(form.confirmed);
}

TEST_F(RenewedSleepTest, TicksKeepTheClockAndMidnightShowsTheDateAlone) {
    platform.clock.set(2026, 12, 7, 0, 0, 0);
    form.Timer1.tick();
    EXPECT_EQ(form.Label4.caption(), "07.12.2026");
    platform.clock.set(2026, 12, 7, 0, 0, 1);
    form.tmrAktZeit.tick();
    EXPECT_EQ(form.Label4.caption(), "07.12.2026 00:00:01");
}

}  // namespace
}  // namespace somnar
