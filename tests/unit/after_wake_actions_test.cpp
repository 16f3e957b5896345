// Dialling after waking, the notification-area icon and choosing the program to start.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

TEST_F(FormTest, DialUpStartPassesNameUserAndPasswordAsTheyStand) {
    form.cmbDFUE_Name.setText("Mein Provider");
    form.txtUser.setText("");
    form.txtPassword.setText(" ge heim");
    form.Command4.setValue(true);
    ASSERT_EQ(platform.dialer.dialled.size(), 1u);
    EXPECT_EQ(platform.dialer.dialled[0],
              (std::vector<std::string>{"Mein Provider", "", " ge heim"}));
    EXPECT_TRUE(platform.dialogs.shown.empty());
}

TEST_F(FormTest, AfterWakingTheDialUpStartsFromGo) {
    platform.clock.set(2026, 12, 6, 20, 0, 0);
    setWakeUp("07", "12", "2026", "06", "30");
    form.cmbDFUE_Name.setText("provider");
    form.chkINET.setValue(1);
    form.go("standby");
    EXPECT_EQ(platform.log, (testing::EventLog{"alarm armed", "sleep standby", "keep awake",
                                               "alarm released", "dial provider"}));
}

TEST_F(FormTest, TrayButtonAddsTheIconAndHidesTheWindow) {
    form.window.show();
    form.cmdTray.setEnabled(true);
    form.cmdTray.userClick();
    EXPECT_EQ(platform.tray.calls, (std::vector<std::string>{"prepare", "add"}));
    EXPECT_FALSE(form.window.visible());
}

TEST_F(FormTest, WithoutNotificationAreaTheTrayButtonMinimises) {
    form.window.show();
    platform.tray.hasNotificationArea = false;
    testing::FakeWindowCommands windowSystem;
    form.window.setCommands(&windowSystem);
    form.cmdTray.setValue(true);
    EXPECT_EQ(windowSystem.done, std::vector<std::string>{"minimize"});
    EXPECT_TRUE(form.window.visible());
    EXPECT_EQ(platform.tray.calls, std::vector<std::string>{"prepare"});
}

TEST_F(FormTest, OnlyTheLeftButtonsReleaseOpensThePopUp) {
    testing::FakeWindowCommands windowSystem;
    form.window.setCommands(&windowSystem);
    for (TrayClick click : {TrayClick::LeftDown, TrayClick::LeftDouble, TrayClick::RightDown,
                            TrayClick::RightUp, TrayClick::MiddleUp}) {
        platform.tray.onClick(click);
    }
    EXPECT_TRUE(windowSystem.done.empty());
    platform.tray.onClick(TrayClick::LeftUp);
    EXPECT_EQ(windowSystem.done, std::vector<std::string>{"popUp mnuPopUp"});
    EXPECT_EQ(form.lastTrayClick, TrayClick::LeftUp);
}

TEST_F(FormTest, ShowingTheWindowAgainRemovesTheIcon) {
    form.cmdTray_Click();
    form.mnuAnzeige.userClick();
    EXPECT_TRUE(form.window.visible());
    EXPECT_EQ(platform.tray.calls, (std::vector<std::string>{"prepare", "add", "remove"}));
}

TEST_F(FormTest, CountdownEntryOfThePopUpLeavesTheWindowHidden) {
    form.cmdTray_Click();
    form.mnuCountdown.userClick();
    EXPECT_FALSE(form.window.visible());
    EXPECT_EQ(lastMessage(), "Keine CountDown Aktionen aktiv.");
}

TEST_F(FormTest, OpenDialogAsksWithTitleFolderAndTheTwoChoices) {
    platform.fileDialog.answer = ChosenFile{"/home/anna/Aufwachen-Ruhe/", "start.sh"};
    form.cmdOpenExe.userClick();
    ASSERT_EQ(platform.fileDialog.requests.size(), 1u);
    const auto& request = platform.fileDialog.requests[0];
    EXPECT_EQ(request.title, "Exe oder BAT Datei auswählen");
    EXPECT_EQ(request.folder, "/home/anna");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].caption, "EXE- oder BAT-Dateien(*.exe;*.bat)");
    EXPECT_EQ(request.filters[0].patterns, (std::vector<std::string>{"*.exe", "*.bat", "*.sh"}));
    EXPECT_EQ(request.filters[1].caption, " Alle Dateien (*.*)");
    EXPECT_EQ(request.filters[1].patterns, std::vector<std::string>{"*"});
    EXPECT_EQ(form.Text1.text(), "/home/anna/Aufwachen-Ruhe/start.sh");
}

TEST_F(FormTest, ChosenFileGetsExactlyOneSeparatorAlsoInTheRootFolder) {
    platform.fileDialog.answer = ChosenFile{"/", "wecker"};
    form.cmdOpenExe_Click();
    EXPECT_EQ(form.Text1.text(), "/wecker");
    platform.fileDialog.answer = ChosenFile{"/opt/bin", "wecker"};
    form.cmdOpenExe_Click();
    EXPECT_EQ(form.Text1.text(), "/opt/bin/wecker");
}

TEST_F(FormTest, CancelledDialogEmptiesTheProgramPath) {
    form.Text1.setText("/opt/bin/wecker");
    form.cmdOpenExe_Click();
    EXPECT_EQ(form.Text1.text(), "");
}

TEST_F(FormTest, OpenButtonWorksWhileThePathFieldIsDisabled) {
    EXPECT_FALSE(form.Text1.enabled());
    platform.fileDialog.answer = ChosenFile{"/opt/", "x"};
    form.cmdOpenExe.userClick();
    EXPECT_EQ(form.Text1.text(), "/opt/x");
}

TEST_F(FormTest, TheFirstOfSeveralDroppedFilesFillsThePath) {
    form.chkPROG.setValue(1);
    form.Text1.userDropFiles({"/home/anna/eins.sh", "/home/anna/zwei.sh", "/home/anna/drei"});
    EXPECT_EQ(form.Text1.text(), "/home/anna/eins.sh");
    form.Text1.userDropFiles({});
    EXPECT_EQ(form.Text1.text(), "/home/anna/eins.sh");
}

TEST_F(FormTest, DropsOntoTheDisabledPathFieldAreNotTaken) {
    const std::string before = form.Text1.text();
    form.Text1.userDropFiles({"/tmp/x"});
    EXPECT_EQ(form.Text1.text(), before);
}

TEST_F(FormTest, TheToolTipFollowsThePathWhenTheMouseMovesOverIt) {
    form.Text1.setText("/ein/sehr/langer/Pfad/zum/Programm.sh");
    form.Text1.userMouseMove();
    EXPECT_EQ(form.Text1.toolTip(), "/ein/sehr/langer/Pfad/zum/Programm.sh");
    form.Text1.setText("");
    form.Text1.userMouseMove();
    EXPECT_EQ(form.Text1.toolTip(), "");
}

}  // namespace
}  // namespace somnar
