// Showing the running countdown's parameters, and the reset.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

TEST_F(FormTest, ParametersWithoutCountdownSayThereIsNone) {
    form.cmdParameterInfo.setEnabled(true);
    form.cmdParameterInfo.userClick();
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown[0],
              (MessageBox{"Keine CountDown Aktionen aktiv.", "somnar-scheduler", MessageButtons::Ok,
                          MessageIcon::Information}));
}

TEST_F(FormTest, ParametersOfATimedCountdownShowTheAcceptedText) {
    platform.clock.set(2026, 12, 6, 10, 0, 0);
    form.cmdRS_aus[0].userClick();
    platform.dialogs.shown.clear();
    form.tmrRuhe.tick();
    form.cmdParameterInfo.userClick();
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown[0].text, form.confirmText);
    EXPECT_EQ(platform.dialogs.shown[0].title,
              "somnar-scheduler , Countdown läuft mit folgenden Parameter...");
}

TEST_F(FormTest, ParametersOfTheRenewedSleepShowTheTimeLeft) {
    form.chkSLEEPnachSOMNAR.setValue(1);
    form.confirmed = true;
    form.Timer1.setEnabled(true);
    form.Timer1.tick();
    form.mnuCountdown.userClick();  // the menu entry presses the button, also while disabled
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown[0].text, "Nächster Ruhezustand in 20:00 min");
    EXPECT_EQ(platform.dialogs.shown[0].title, "somnar-scheduler , Countdown aktiv...");
}

TEST_F(FormTest, ResetStopsEverythingAndGivesTheCommandsBack) {
    form.cmdRS_aus[1].userClick();
    form.tmrStandby.tick();
    form.Timer1.setEnabled(true);
    form.elapsed = 30;
    form.cmdReset.userClick();
    EXPECT_FALSE(form.tmrRuhe.enabled());
    EXPECT_FALSE(form.tmrStandby.enabled());
    EXPECT_FALSE(form.Timer1.enabled());
    for (const Control* command :
         {static_cast<Control*>(&form.cmdHibernate), static_cast<Control*>(&form.cmdSuspend),
          static_cast<Control*>(&form.cmdRS_aus[0]), static_cast<Control*>(&form.cmdRS_aus[1]),
          static_cast<Control*>(&form.Picture1[2]), static_cast<Control*>(&form.Picture2[2]),
          static_cast<Control*>(&form.chkActionen)}) {
        EXPECT_TRUE(command->enabled()) << command->key();
    }
    EXPECT_FALSE(form.cmdReset.enabled());
    EXPECT_FALSE(form.cmdParameterInfo.enabled());
    EXPECT_FALSE(form.cmdTray.enabled());
    EXPECT_EQ(form.Label26.caption(), "");
    EXPECT_EQ(form.elapsed, 0);
    EXPECT_EQ(form.cmbHour_aus.text(), "10");  // the sleep time stays as it was
}

TEST(ResetOnAMachineWithoutHibernation, KeepsTheMissingStatesCommandsDisabled) {
    testing::FakePlatform platform;
    platform.power.hibernate = false;
    FrmInfo info{platform.services};
    Form1 form{platform.services, info};
    form.Form_Load();
    form.cmdReset.setEnabled(true);
    form.cmdReset.userClick();
    EXPECT_FALSE(form.cmdHibernate.enabled());
    EXPECT_FALSE(form.cmdRS_aus[0].enabled());
    EXPECT_TRUE(form.cmdSuspend.enabled());
    EXPECT_TRUE(form.cmdRS_aus[1].enabled());
}

}  // namespace
}  // namespace somnar
