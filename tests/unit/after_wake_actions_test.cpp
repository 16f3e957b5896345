// Dialling after waking, the notification-area icon and choosing the program to start.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

TEST_F(FormTest, DialUpStartPassesNameUserAndPasswordAsTheyStand) {
    form.dialupName.setText("Mein Provider");
    form.dialupUser.setText("");
    form.dialupPassword.setText(" ge heim");
    form.dialButton.setValue(true);
    ASSERT_EQ(platform.dialer.dialled.size(), 1u);
    EXPECT_EQ(platform.dialer.dialled[0],
              (std::vector<std::string>{"Mein Provider", "", " ge heim"}));
    EXPECT_TRUE(platform.dialogs.shown.empty());
}

TEST_F(FormTest, AfterWakingTheDialUpStartsFromGo) {
    platform.clock.set(2026, 12, 6, 20, 0, 0);
    setWakeUp("07", "12", "2026", "06", "30");
    form.dialupName.setText("provider");
    form.dialupBox.setValue(1);
    form.sleepAndWake(SleepState::Standby);
    EXPECT_EQ(platform.log, (testing::EventLog{"alarm armed", "sleep standby", "keep awake",
                                               "alarm released", "dial provider"}));
}

TEST_F(FormTest, TrayButtonAddsTheIconAndHidesTheWindow) {
    form.window.show();
    form.trayButton.setEnabled(true);
    form.trayButton.userClick();
    EXPECT_EQ(platform.tray.calls, (std::vector<std::string>{"prepare", "add"}));
    EXPECT_FALSE(form.window.visible());
}

TEST_F(FormTest, WithoutNotificationAreaTheTrayButtonMinimises) {
    form.window.show();
    platform.tray.hasNotificationArea = false;
    testing::FakeWindowCommands windowSystem;
    form.window.setCommands(&windowSystem);
    form.trayButton.setValue(true);
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
    form.onToTray();
    form.showWindowEntry.userClick();
    EXPECT_TRUE(form.window.visible());
    EXPECT_EQ(platform.tray.calls, (std::vector<std::string>{"prepare", "add", "remove"}));
}

TEST_F(FormTest, CountdownEntryOfThePopUpLeavesTheWindowHidden) {
    form.onToTray();
    form.countdownMenuEntry.userClick();
    EXPECT_FALSE(form.window.visible());
    EXPECT_EQ(lastMessage(), "Keine CountDown Aktionen aktiv.");
}

TEST_F(FormTest, OpenDialogAsksWithTitleFolderAndTheTwoChoices) {
    platform.fileDialog.answer = ChosenFile{"/home/anna/Aufwachen-Ruhe/", "start.sh"};
    form.chooseProgramButton.userClick();
    ASSERT_EQ(platform.fileDialog.requests.size(), 1u);
    const auto& request = platform.fileDialog.requests[0];
    EXPECT_EQ(request.title, "Exe oder BAT Datei auswählen");
    EXPECT_EQ(request.folder, "/home/anna");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].caption, "EXE- oder BAT-Dateien(*.exe;*.bat)");
    EXPECT_EQ(request.filters[0].patterns, (std::vector<std::string>{"*.exe", "*.bat", "*.sh"}));
    EXPECT_EQ(request.filters[1].caption, " Alle Dateien (*.*)");
    EXPECT_EQ(request.filters[1].patterns, std::vector<std::string>{"*"});
    EXPECT_EQ(form.programPath.text(), "/home/anna/Aufwachen-Ruhe/start.sh");
}

TEST_F(FormTest, ChosenFileGetsExactlyOneSeparatorAlsoInTheRootFolder) {
    platform.fileDialog.answer = ChosenFile{"/", "wecker"};
    form.onChooseProgram();
    EXPECT_EQ(form.programPath.text(), "/wecker");
    platform.fileDialog.answer = ChosenFile{"/opt/bin", "wecker"};
    form.onChooseProgram();
    EXPECT_EQ(form.programPath.text(), "/opt/bin/wecker");
}

TEST_F(FormTest, CancelledDialogEmptiesTheProgramPath) {
    form.programPath.setText("/opt/bin/wecker");
    form.onChooseProgram();
    EXPECT_EQ(form.programPath.text(), "");
}

TEST_F(FormTest, OpenButtonWorksWhileThePathFieldIsDisabled) {
    EXPECT_FALSE(form.programPath.enabled());
    platform.fileDialog.answer = ChosenFile{"/opt/", "x"};
    form.chooseProgramButton.userClick();
    EXPECT_EQ(form.programPath.text(), "/opt/x");
}

TEST_F(FormTest, TheFirstOfSeveralDroppedFilesFillsThePath) {
    form.programBox.setValue(1);
    form.programPath.userDropFiles({"/home/anna/eins.sh", "/home/anna/zwei.sh", "/home/anna/drei"});
    EXPECT_EQ(form.programPath.text(), "/home/anna/eins.sh");
    form.programPath.userDropFiles({});
    EXPECT_EQ(form.programPath.text(), "/home/anna/eins.sh");
}

TEST_F(FormTest, DropsOntoTheDisabledPathFieldAreNotTaken) {
    const std::string before = form.programPath.text();
    form.programPath.userDropFiles({"/tmp/x"});
    EXPECT_EQ(form.programPath.text(), before);
}

TEST_F(FormTest, TheToolTipFollowsThePathWhenTheMouseMovesOverIt) {
    form.programPath.setText("/ein/sehr/langer/Pfad/zum/Programm.sh");
    form.programPath.userMouseMove();
    EXPECT_EQ(form.programPath.toolTip(), "/ein/sehr/langer/Pfad/zum/Programm.sh");
    form.programPath.setText("");
    form.programPath.userMouseMove();
    EXPECT_EQ(form.programPath.toolTip(), "");
}

}  // namespace
}  // namespace somnar
