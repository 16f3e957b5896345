// The countdown to a renewed sleep after waking, what a running countdown tells, and the
// reset.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"
#include "wake/renewed_sleep_count.h"

namespace somnar {
namespace {

using std::chrono::milliseconds;

TEST(RenewedSleepCountTest, TextsMinutesAndTheRealTimeBetweenTicks) {
    const std::pair<long, const char*> texts[] = {
        {1200, "20:00"}, {1199, "19:59"}, {1, "00:01"}, {5400, "90:00"}, {-3, "00:00"}};
    for (const auto& [seconds, text] : texts) {
        EXPECT_EQ(timeLeftText(seconds), text);
    }
    const std::pair<const char*, int> minutes[] = {{"  20", 20}, {"1440", 1440}, {" 1 ", 1},
                                                   {"0", -1},    {"1441", -1},   {"zwanzig", -1},
                                                   {"", -1},     {"-5", -1}};
    for (const auto& [text, expected] : minutes) {
        EXPECT_EQ(renewedSleepMinutes(text).value_or(-1), expected) << text;
    }
    RenewedSleepCount count;
    count.count(milliseconds(1000), 1, milliseconds(500));  // a run's first tick: one interval
    count.count(milliseconds(4000), 1, milliseconds(500));  // late: the time that passed
    count.count(milliseconds(9000), 2, milliseconds(500));  // a new run
    count.pause();
    count.count(milliseconds(99000), 2, milliseconds(500));  // after a pause
    count.count(milliseconds(98000), 2, milliseconds(500));  // a clock that went back
    EXPECT_EQ(count.elapsedSeconds(), 0.5 + 3.0 + 0.5 + 0.5 + 0.5);
    count.reset();
    EXPECT_EQ(count.elapsedSeconds(), 0);
}

struct RenewedSleepTest : testing::FormTest {
    void SetUp() override {
        FormTest::SetUp();
        ui.renewedSleepBox.setValue(1);
        schedule().answer("angenommen", true);
        ui.renewedSleepTimer.setEnabled(true);
    }
    void tick() {
        platform.clock.advance(milliseconds(500));
        ui.renewedSleepTimer.tick();
    }
    int tickUntilFired(int limit) {
        int ticks = 0;
        for (; ui.renewedSleepTimer.enabled() && ticks < limit; ++ticks) {
            tick();
        }
        return ticks;
    }
};

TEST_F(RenewedSleepTest, TwentyMinutesCountDownBlinkingAndFireAtTick2400) {
    const bool blink = ui.statusLine.enabled();
    std::vector<std::string> lines;
    for (int i = 0; i < 4; ++i) {
        tick();
        lines.push_back(ui.statusLine.caption());
    }
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "Nächster Ruhezustand in 20:00 min", "Nächster Ruhezustand in 19:59 min",
                  "Nächster Ruhezustand in 19:59 min", "Nächster Ruhezustand in 19:58 min"}));
    EXPECT_EQ(ui.statusLine.enabled(), blink);   // four blinks
    platform.clock.set(2026, 12, 6, 23, 40, 2);  // the last tick comes at midnight
    EXPECT_EQ(4 + tickUntilFired(5000), 2400);
    EXPECT_EQ(ui.clockLine.caption(), "07.12.2026");  // each tick renews the clock
    EXPECT_EQ(ui.statusLine.caption(), "");
    EXPECT_TRUE(!schedule().confirmed() && renewedSleep().elapsedSeconds() == 0);
    EXPECT_EQ(platform.power.sleeps, std::vector<SleepState>{SleepState::Hibernate});
    EXPECT_TRUE(platform.wakeAlarm.armed.empty());  // no wake-up on this path
}

TEST_F(RenewedSleepTest, StandbyHasItsOwnLineAndNeitherStateEndsWithoutSleeping) {
    ui.renewedSleepState[1].setValue(true);
    ui.renewedSleepSpan.setText("  90");
    tick();
    EXPECT_EQ(ui.statusLine.caption(), "Nächster Standbyzustand aktiv in 90:00 min");
    platform.clock.advance(milliseconds(5400000));  // a tick held up for the whole span
    platform.power.result = {SleepOutcome::Refused, "Operation in progress"};
    ui.renewedSleepTimer.tick();
    EXPECT_EQ(platform.power.sleeps, std::vector<SleepState>{SleepState::Standby});
    const std::string refused =
        "Der Rechner wurde nicht in den Standbyzustand versetzt. Die "
        "Energieverwaltung hat die Anfrage abgelehnt. Operation in progress";
    EXPECT_EQ(ui.statusLine.caption(), refused);
    EXPECT_EQ(platform.notifier.shown.at(0).second + platform.journal.entries.at(0).second,
              refused + refused);
    EXPECT_TRUE(platform.dialogs.shown.empty());

    ui.renewedSleepState[1].setValue(false);
    ui.renewedSleepSpan.setText("   1");
    schedule().answer("angenommen", true);
    ui.renewedSleepTimer.setEnabled(true);
    ui.statusLine.setCaption("vorher");
    tick();
    EXPECT_EQ(ui.statusLine.caption(), "vorher");
    EXPECT_EQ(tickUntilFired(1000), 119);
    EXPECT_EQ(platform.power.sleeps.size(), 1u);
    EXPECT_FALSE(schedule().confirmed());
}

TEST_F(RenewedSleepTest, PausesWhileNotConfirmedUntickedOrWithoutValidMinutes) {
    ui.renewedSleepSpan.setText("   1");
    for (int i = 0; i < 10; ++i) {
        tick();
    }
    ui.renewedSleepSpan.setText("zwanzig");
    tick();
    EXPECT_EQ(ui.statusLine.caption(), "Angehalten: Minuten ungültig");
    platform.clock.advance(std::chrono::seconds(30));  // a pause counts nothing
    ui.renewedSleepSpan.setText("   1");
    tick();
    EXPECT_EQ(ui.statusLine.caption(), "Nächster Ruhezustand in 00:55 min");
    schedule().forget();
    tick();
    platform.clock.advance(std::chrono::seconds(30));
    schedule().answer("angenommen", true);
    ui.renewedSleepBox.setValue(0);
    tick();
    ui.renewedSleepBox.setValue(1);
    EXPECT_EQ(renewedSleep().elapsedSeconds(), 5.5);
    EXPECT_EQ(tickUntilFired(1000), 109);
}

TEST_F(RenewedSleepTest, TheRunningCountdownTellsWhatItDoes) {
    const auto told = [this] {
        platform.dialogs.shown.clear();
        ui.countdownMenuEntry.userClick();  // also while the button is disabled
        return platform.dialogs.shown.at(0);
    };
    tick();
    EXPECT_EQ(told(), (MessageBox{"Nächster Ruhezustand in 20:00 min",
                                  "somnar-scheduler , Countdown aktiv...", MessageButtons::Ok,
                                  MessageIcon::Information}));
    ui.renewedSleepTimer.setEnabled(false);
    EXPECT_EQ(told(), (MessageBox{"Keine CountDown Aktionen aktiv.", "somnar-scheduler",
                                  MessageButtons::Ok, MessageIcon::Information}));
    platform.clock.set(2026, 12, 6, 10, 0, 0);
    ui.timedSleepButtons[0].userClick();
    ui.hibernateCountdown.tick();
    EXPECT_EQ(told(), (MessageBox{schedule().confirmationText(),
                                  "somnar-scheduler , Countdown läuft mit folgenden Parameter...",
                                  MessageButtons::Ok, MessageIcon::Information}));
}

TEST_F(RenewedSleepTest, ResetStopsEverythingAndGivesBackWhatTheMachineCanDo) {
    platform.power.hibernate = false;
    form.load();  // the machine cannot hibernate
    ui.timedSleepButtons[1].userClick();
    ui.standbyCountdown.tick();
    tick();
    ui.resetButton.userClick();
    // The three timers; standby's commands, the pictures and the panel; hibernation's; the
    // buttons of a running countdown.
    EXPECT_EQ(enabledOf({&ui.hibernateCountdown, &ui.standbyCountdown, &ui.renewedSleepTimer,
                         &ui.standbyNowButton, &ui.timedSleepButtons[1], &ui.standbyPictures[2],
                         &ui.hibernatePictures[2], &ui.optionsBox, &ui.hibernateNowButton,
                         &ui.timedSleepButtons[0], &ui.resetButton, &ui.countdownInfoButton,
                         &ui.trayButton}),
              "0001111100000");
    EXPECT_TRUE(ui.statusLine.caption().empty() && renewedSleep().elapsedSeconds() == 0);
}

}  // namespace
}  // namespace somnar
