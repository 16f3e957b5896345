// The notification-area icon and choosing the program to start.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

TEST_F(FormTest, TheIconTakesTheWindowAwayAndOnlyTheLeftButtonsReleaseOpensItsMenu) {
    testing::FakeWindowCommands windowSystem;
    form.window.setCommands(&windowSystem);
    form.window.show();
    form.trayButton.setEnabled(true);
    form.trayButton.userClick();
    EXPECT_FALSE(form.window.visible());
    for (TrayClick click : {TrayClick::LeftDown, TrayClick::LeftDouble, TrayClick::RightDown,
                            TrayClick::RightUp, TrayClick::MiddleUp}) {
        platform.tray.onClick(click);
    }
    EXPECT_TRUE(windowSystem.done.empty());
    platform.tray.onClick(TrayClick::LeftUp);
    EXPECT_EQ(windowSystem.done, std::vector<std::string>{"popUp mnuPopUp"});
    EXPECT_EQ(form.lastTrayClick, TrayClick::LeftUp);
    form.countdownMenuEntry.userClick();
    EXPECT_FALSE(form.window.visible());
    form.showWindowEntry.userClick();
    EXPECT_TRUE(form.window.visible());
    EXPECT_EQ(platform.tray.calls,
              (std::vector<std::string>{"prepare Somnar Scheduler", "add", "remove"}));

    // Without a notification area a hidden window could not be found again.
    platform.tray.hasNotificationArea = false;
    form.trayButton.setValue(true);
    EXPECT_EQ(windowSystem.done.back(), "minimize");
    EXPECT_TRUE(form.window.visible());
    EXPECT_EQ(platform.tray.calls.size(), 3u);
}

TEST_F(FormTest, TheOpenDialogAsksWithItsChoicesAndGivesOnePath) {
    EXPECT_FALSE(form.programPath.enabled());  // the button works all the same
    platform.fileDialog.answer = ChosenFile{"/home/anna/Aufwachen-Ruhe/", "start.sh"};
    form.chooseProgramButton.userClick();
    const auto& request = platform.fileDialog.requests.at(0);
    EXPECT_EQ(request.title, "Exe oder BAT Datei auswählen");
    EXPECT_EQ(request.folder, "/home/anna");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].caption, "EXE- oder BAT-Dateien(*.exe;*.bat)");
    EXPECT_EQ(request.filters[0].patterns, (std::vector<std::string>{"*.exe", "*.bat", "*.sh"}));
    EXPECT_EQ(request.filters[1].caption, " Alle Dateien (*.*)");
    EXPECT_EQ(request.filters[1].patterns, std::vector<std::string>{"*"});
    EXPECT_EQ(form.programPath.text(), "/home/anna/Aufwachen-Ruhe/start.sh");
    for (const auto& [folder, path] :
         {std::pair{"/", "/wecker"}, {"/opt/bin", "/opt/bin/wecker"}}) {
        platform.fileDialog.answer = ChosenFile{folder, "wecker"};
        form.onChooseProgram();
        EXPECT_EQ(form.programPath.text(), path);
    }
    platform.fileDialog.answer.reset();  // cancelled
    form.onChooseProgram();
    EXPECT_EQ(form.programPath.text(), "");
}

TEST_F(FormTest, TheFirstDroppedFileFillsTheEnabledPathAndTheToolTipFollowsIt) {
    form.programPath.userDropFiles({"/tmp/x"});
    EXPECT_NE(form.programPath.text(), "/tmp/x");  // disabled: not taken
    form.programBox.setValue(1);
    form.programPath.userDropFiles({"/home/anna/eins.sh", "/home/anna/zwei.sh"});
    form.programPath.userDropFiles({});
    EXPECT_EQ(form.programPath.text(), "/home/anna/eins.sh");
    form.programPath.userMouseMove();
    EXPECT_EQ(form.programPath.toolTip(), "/home/anna/eins.sh");
    form.programPath.setText("");
    form.programPath.userMouseMove();
    EXPECT_EQ(form.programPath.toolTip(), "");
}

}  // namespace
}  // namespace somnar
