// The four sleep commands, the pictures on the timed ones, and the countdown to a sleep
// at the set time.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

struct SleepCommandTest : FormTest {
    void SetUp() override {
        FormTest::SetUp();
        platform.clock.set(2026, 12, 6, 14, 0, 0);
        setSleepTime("06", "12", "2026", "14", "30");
        setWakeUp("07", "12", "2026", "06", "30");
    }
};

TEST_F(SleepCommandTest, HibernateNowWithoutWakeUpAsksAndNoDoesNothing) {
    form.hibernateCountdown.setEnabled(true);
    form.standbyCountdown.setEnabled(true);
    platform.dialogs.answers = {MessageAnswer::No};
    form.hibernateNowButton.userClick();
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    const MessageBox& question = platform.dialogs.shown[0];
    EXPECT_EQ(question.text,
              "Soll der Rechner jetzt in den Ruhezustand versetzt werden und nicht automatisch "
              "wieder erwachen?");
    EXPECT_EQ(question.title, "Somnar-Scheduler");
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_TRUE(platform.power.sleeps.empty());
    EXPECT_FALSE(form.hibernateCountdown.enabled());
    EXPECT_FALSE(form.standbyCountdown.enabled());
}

TEST_F(SleepCommandTest, StandbyNowWithoutWakeUpSleepsWithoutAlarmAndNothingFollows) {
    form.dialupBox.setValue(1);
    form.standbyNowButton.userClick();
    EXPECT_EQ(platform.dialogs.shown.at(0).text,
              "Soll der Rechner jetzt in den Standbyzustand versetzt werden und nicht automatisch "
              "wieder erwachen?");
    EXPECT_EQ(platform.log, testing::EventLog{"sleep standby"});
}

TEST_F(SleepCommandTest, HibernateNowWithWakeUpConfirmsAndGoes) {
    wantWakeUp();
    form.hibernateNowButton.userClick();
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(platform.log, (testing::EventLog{"alarm armed", "sleep hibernate", "keep awake",
                                               "alarm released"}));
}

TEST_F(SleepCommandTest, CancelledConfirmationGoesNowhere) {
    wantWakeUp();
    platform.dialogs.answers = {MessageAnswer::Cancel};
    form.standbyNowButton.userClick();
    EXPECT_TRUE(platform.log.empty());
}

TEST_F(SleepCommandTest, TimedStandbyConfirmedArmsItsCountdownAndFreezesTheWindow) {
    wantWakeUp();
    form.optionsBox.setValue(1);
    form.window.setHeight(10365);
    form.hibernateCountdown.setEnabled(true);
    form.timedSleepButtons[1].userClick();
    EXPECT_TRUE(form.standbyCountdown.enabled());
    EXPECT_FALSE(form.hibernateCountdown.enabled());
    for (const Control* frozen : {static_cast<Control*>(&form.timedSleepButtons[0]),
                                  static_cast<Control*>(&form.timedSleepButtons[1]),
                                  static_cast<Control*>(&form.hibernateNowButton),
                                  static_cast<Control*>(&form.standbyNowButton),
                                  static_cast<Control*>(&form.standbyPictures[2]),
                                  static_cast<Control*>(&form.hibernatePictures[2])}) {
        EXPECT_FALSE(frozen->enabled()) << frozen->key();
    }
    EXPECT_EQ(form.window.height(), 3600);
    EXPECT_EQ(form.optionsBox.value(), 0);
    EXPECT_FALSE(form.optionsBox.enabled());
    EXPECT_TRUE(platform.log.empty());  // nothing sleeps yet
}

TEST_F(SleepCommandTest, TimedRequestCancelledChangesNothing) {
    platform.dialogs.answers = {MessageAnswer::Cancel};
    form.timedSleepButtons[0].userClick();
    EXPECT_FALSE(form.hibernateCountdown.enabled());
    EXPECT_TRUE(form.timedSleepButtons[0].enabled());
    EXPECT_TRUE(form.hibernateNowButton.enabled());
}

TEST_F(SleepCommandTest, PictureOnTheStandbyButtonActsAsTheButtonOthersDoNothing) {
    form.standbyPictures[1].userClick();
    form.hibernatePictures[1].userClick();
    EXPECT_TRUE(platform.dialogs.shown.empty());
    form.standbyPictures[2].userClick();
    EXPECT_TRUE(form.standbyCountdown.enabled());
    EXPECT_EQ(platform.dialogs.shown.size(), 1u);
}

TEST(SleepCommandStart, PictureOnAButtonStartUpDisabledDoesNothing) {
    testing::FakePlatform platform;
    platform.power.hibernate = false;
    InfoWindow info{platform.services};
    MainWindow form{platform.services, info};
    form.load();
    EXPECT_TRUE(form.hibernatePictures[2].enabled());
    form.hibernatePictures[2].userClick();
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_FALSE(form.hibernateCountdown.enabled());
}

struct CountdownTest : SleepCommandTest {
    void startHibernationCountdown() {
        form.timedSleepButtons[0].userClick();
        ASSERT_TRUE(form.hibernateCountdown.enabled());
        platform.dialogs.shown.clear();
    }
};

TEST_F(CountdownTest, TicksBlinkTheStatusAndFireFromTheSetMinuteOn) {
    startHibernationCountdown();
    platform.clock.set(2026, 12, 6, 14, 29, 59);
    const bool blinkBefore = form.statusLine.enabled();
    form.hibernateCountdown.tick();
    EXPECT_EQ(form.statusLine.caption(), "Countdown für Ruhezustand aktiv...");
    EXPECT_NE(form.statusLine.enabled(), blinkBefore);
    EXPECT_TRUE(form.resetButton.enabled());
    EXPECT_TRUE(form.countdownInfoButton.enabled());
    EXPECT_TRUE(form.trayButton.enabled());
    EXPECT_TRUE(platform.log.empty());
    form.hibernateCountdown.tick();
    EXPECT_EQ(form.statusLine.enabled(), blinkBefore);

    platform.clock.set(2026, 12, 6, 14, 30, 0);
    platform.power.whileAsleep = [this] {
        EXPECT_EQ(form.statusLine.caption(), "Countdown für Ruhezustand aktiv...");
    };
    form.hibernateCountdown.tick();
    EXPECT_EQ(platform.log, testing::EventLog{"sleep hibernate"});  // no wake-up wanted
    EXPECT_EQ(form.statusLine.caption(), "");
    EXPECT_FALSE(form.hibernateCountdown.enabled());
    EXPECT_TRUE(form.optionsBox.enabled());
    EXPECT_FALSE(form.timedSleepButtons[0].enabled());  // until "Reset"
}

TEST_F(CountdownTest, AMinuteThatWentByWithoutATickStillFires) {
    startHibernationCountdown();
    platform.clock.set(2026, 12, 7, 8, 5, 0);  // the machine slept through it
    form.hibernateCountdown.tick();
    EXPECT_EQ(platform.power.sleeps.size(), 1u);
}

TEST_F(CountdownTest, TheWakeUpChoiceAtTheFiringTickDecides) {
    startHibernationCountdown();
    wantWakeUp();
    platform.clock.set(2026, 12, 6, 14, 30, 1);
    form.hibernateCountdown.tick();
    EXPECT_EQ(platform.log, (testing::EventLog{"alarm armed", "sleep hibernate", "keep awake",
                                               "alarm released"}));
}

TEST_F(CountdownTest, StandbyCountdownSaysSoAndSleepsInStandby) {
    form.timedSleepButtons[1].userClick();
    platform.clock.set(2026, 12, 6, 14, 31, 0);
    form.standbyCountdown.tick();
    EXPECT_EQ(platform.log, testing::EventLog{"sleep standby"});
    EXPECT_FALSE(form.standbyCountdown.enabled());
}

TEST_F(CountdownTest, SleepTimeEditedIntoNonsenseNeverComesDueAndTheLineSaysWhy) {
    startHibernationCountdown();
    platform.clock.set(2026, 12, 6, 23, 0, 0);
    for (auto [picker, text] :
         {std::pair{&form.sleepTime.minute, "3O"}, {&form.sleepTime.year, "26"}}) {
        const std::string before = picker->text();
        picker->setText(text);
        form.hibernateCountdown.tick();
        EXPECT_EQ(form.statusLine.caption(), "Angehalten: Ruhezeit ungültig");
        picker->setText(before);
    }
    EXPECT_TRUE(platform.log.empty());
    EXPECT_TRUE(form.hibernateCountdown.enabled());
}

// A sleep that did not happen: told in a box, and the sleep commands are usable again.
TEST_F(CountdownTest, ARefusedSleepWithoutWakeUpIsToldAndTheCommandsComeBack) {
    platform.power.result = {SleepOutcome::NotAuthorized, ""};
    startHibernationCountdown();
    platform.clock.set(2026, 12, 6, 14, 30, 0);
    form.hibernateCountdown.tick();
    EXPECT_FALSE(form.hibernateCountdown.enabled());
    EXPECT_TRUE(form.timedSleepButtons[0].enabled());
    EXPECT_TRUE(form.standbyNowButton.enabled());
    form.standbyNowButton.userClick();  // the yes/no question, then the same refusal
    ASSERT_EQ(platform.dialogs.shown.size(), 3u);
    for (const std::size_t box : {0u, 2u}) {
        EXPECT_EQ(platform.dialogs.shown[box].text.substr(0, 31),
                  "Der Rechner wurde nicht in den ");
    }
    EXPECT_EQ(platform.power.keepAwakeCalls, 0);
}

TEST_F(CountdownTest, ARefusedWakeUpEndsTheCountdownWithoutSleeping) {
    startHibernationCountdown();
    wantWakeUp();
    platform.wakeAlarm.refuseWith = AlarmError::NoAlarmClock;
    int nestedTicks = 0;
    platform.dialogs.whileOpen = [&](const MessageBox&) {
        ++nestedTicks;
        form.hibernateCountdown.tick();  // the window system may tick while the box is open
    };
    platform.clock.set(2026, 12, 6, 14, 30, 0);
    form.hibernateCountdown.tick();
    EXPECT_EQ(nestedTicks, 1);  // the nested tick did not start a second request
    EXPECT_TRUE(platform.power.sleeps.empty());
    EXPECT_FALSE(form.hibernateCountdown.enabled());
    EXPECT_EQ(form.statusLine.caption(), "");
}

}  // namespace
}  // namespace somnar
