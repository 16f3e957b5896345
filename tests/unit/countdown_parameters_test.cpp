// Showing the running countdown's parameters, and the reset.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

TEST_F(FormTest, ParametersWithoutCountdownSayThereIsNone) {
    form.countdownInfoButton.setEnabled(true);
    form.countdownInfoButton.userClick();
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown[0],
              (MessageBox{"Keine CountDown Aktionen aktiv.", "somnar-scheduler", MessageButtons::Ok,
                          MessageIcon::Information}));
}

TEST_F(FormTest, ParametersOfATimedCountdownShowTheAcceptedText) {
    platform.clock.set(2026, 12, 6, 10, 0, 0);
    form.timedSleepButtons[0].userClick();
    platform.dialogs.shown.clear();
    form.hibernateCountdown.tick();
    form.countdownInfoButton.userClick();
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown[0].text, form.sleeper.confirmationText());
    EXPECT_EQ(platform.dialogs.shown[0].title,
              "somnar-scheduler , Countdown läuft mit folgenden Parameter...");
}

TEST_F(FormTest, ParametersOfTheRenewedSleepShowTheTimeLeft) {
    form.renewedSleepBox.setValue(1);
    form.sleeper.remember(form.sleeper.confirmationText(), true);
    form.renewedSleepTimer.setEnabled(true);
    form.renewedSleepTimer.tick();
    form.countdownMenuEntry.userClick();  // the menu entry presses the button, also while disabled
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown[0].text, "Nächster Ruhezustand in 20:00 min");
    EXPECT_EQ(platform.dialogs.shown[0].title, "somnar-scheduler , Countdown aktiv...");
}

TEST_F(FormTest, ResetStopsEverythingAndGivesTheCommandsBack) {
    form.timedSleepButtons[1].userClick();
    form.standbyCountdown.tick();
    form.renewedSleepTimer.setEnabled(true);
    form.afterWaking.renewedSleepCount().count(std::chrono::milliseconds(0), 1,
                                               std::chrono::milliseconds(30000));
    form.resetButton.userClick();
    EXPECT_FALSE(form.hibernateCountdown.enabled());
    EXPECT_FALSE(form.standbyCountdown.enabled());
    EXPECT_FALSE(form.renewedSleepTimer.enabled());
    for (const Control* command : {static_cast<Control*>(&form.hibernateNowButton),
                                   static_cast<Control*>(&form.standbyNowButton),
                                   static_cast<Control*>(&form.timedSleepButtons[0]),
                                   static_cast<Control*>(&form.timedSleepButtons[1]),
                                   static_cast<Control*>(&form.standbyPictures[2]),
                                   static_cast<Control*>(&form.hibernatePictures[2]),
                                   static_cast<Control*>(&form.optionsBox)}) {
        EXPECT_TRUE(command->enabled()) << command->key();
    }
    EXPECT_FALSE(form.resetButton.enabled());
    EXPECT_FALSE(form.countdownInfoButton.enabled());
    EXPECT_FALSE(form.trayButton.enabled());
    EXPECT_EQ(form.statusLine.caption(), "");
    EXPECT_EQ(form.afterWaking.renewedSleepCount().elapsedSeconds(), 0);
    EXPECT_EQ(form.sleepTime.hour.text(), "10");  // the sleep time stays as it was
}

TEST(ResetOnAMachineWithoutHibernation, KeepsTheMissingStatesCommandsDisabled) {
    testing::FakePlatform platform;
    platform.power.hibernate = false;
    InfoWindow info{platform.services};
    MainWindow form{platform.services, info};
    form.load();
    form.resetButton.setEnabled(true);
    form.resetButton.userClick();
    EXPECT_FALSE(form.hibernateNowButton.enabled());
    EXPECT_FALSE(form.timedSleepButtons[0].enabled());
    EXPECT_TRUE(form.standbyNowButton.enabled());
    EXPECT_TRUE(form.timedSleepButtons[1].enabled());
}

}  // namespace
}  // namespace somnar
