// The windows: the model matches its design table, the info window, the notification-area
// icon and choosing the program to start.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

struct DesignTest : testing::ProgramTest {
    const Control* at(std::string_view key) const { return ui.registry.find(key); }
    std::set<std::string> keysWhere(bool (*test)(const Control&)) const {
        std::set<std::string> keys;
        for (const Control* control : ui.registry.controls()) {
            if (test(*control)) {
                keys.insert(control->key());
            }
        }
        return keys;
    }
};

TEST_F(DesignTest, EveryRowHasOneControlInItsContainerAndContainersComeFirst) {
    EXPECT_EQ(ui.registry.mismatches(), std::vector<std::string>{});
    EXPECT_EQ(info.registry().mismatches(), std::vector<std::string>{});
    const auto& order = ui.registry.controls();
    EXPECT_EQ(order.size(), mainWindowDesign().controls.size());
    EXPECT_EQ(keysWhere([](const Control&) { return true; }).size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        auto holder = std::find(order.begin(), order.end(), order[i]->container());
        EXPECT_TRUE(order[i]->container() == nullptr || holder - order.begin() < long(i))
            << order[i]->key();
    }
    EXPECT_EQ(ui.wakeTime.day.container(), &ui.optionFrames[0]);
    EXPECT_EQ(at("Frame5")->container(), at("Frame4"));
    EXPECT_EQ(ui.showWindowEntry.container(), &ui.trayMenu);
    EXPECT_EQ(static_cast<const Frame*>(at("Frame3"))->caption(),
              "Neuer Ruhe- oder Stanbyzustand nach wieviel Minuten?");
    EXPECT_EQ(static_cast<const Line*>(at("Line1"))->ends(), (LineEnds{-240, 3180, 8280, 3180}));
    EXPECT_EQ(static_cast<const Line*>(at("Line1"))->borderWidth(), 2);
    EXPECT_EQ(ui.resetButton.caption() + (ui.infoButton.picture() == Picture::InfoIcon ? "+" : ""),
              "Reset+");
    EXPECT_TRUE(static_cast<const Frame*>(at("Frame1(1)"))->borderless());
    EXPECT_EQ(static_cast<const Label*>(at("Label15"))->alignment(), Alignment::Right);
    // Screen readers' names travel with the controls, so the views need no design table.
    EXPECT_EQ(keysWhere([](const Control& c) { return !c.accessibleName().empty(); }).size(), 29u);
    EXPECT_EQ(ui.sleepTime.day.accessibleName(), "Ruhezeit Tag");
    EXPECT_EQ(ui.sleepTime.day.label(), at("Label23"));
}

// Which controls start disabled or hidden is checked on the real widgets.
TEST_F(DesignTest, OnlyTheClockRunsAtStartAndElevenControlsCarryATip) {
    EXPECT_EQ(
        keysWhere([](const Control& c) { return c.kind() == ControlKind::Timer && c.enabled(); }),
        std::set<std::string>{"tmrAktZeit"});
    EXPECT_EQ(keysWhere([](const Control& c) { return !c.toolTip().empty(); }).size(), 11u);
    EXPECT_TRUE(ui.wakeChoice[1].value() && ui.renewedSleepState[0].value());
    EXPECT_EQ(ui.dialupPassword.passwordChar() + ui.ftpPassword.passwordChar(), "**");
    EXPECT_EQ(ui.ftpFolder.text() + ui.ftpStatus.caption(), "/Disconnected...");
}

using InfoWindowTest = testing::ProgramTest;

const std::string kExpectedText =
    "Das Programm versetzt den Rechner zu einer gewünschten Zeit (oder auch sofort) in den "
    "Ruhe- oder Standbyzustand und weckt ihn optional zu einer gewünschten Aufwachzeit wieder "
    "auf.\r\n"
    "Nach dem Aufwachen kann ein Programm, ein Batchfile oder eine Internetverbindung gestartet "
    "werden.\r\n"
    "Falls Remotezugriffe erfolgen sollen, kann die vom Provider vergebene dynamische "
    "IP-Adresse per FTP auf einen Server übertragen werden (eingebettet in eine HTML-Datei, "
    "Dateiname:ip.html).\r\n"
    "Der Rechner kann nach einer gewünschten Zeitspanne (in Minuten) erneut in den Ruhe- oder "
    "Standbyzustand versetzt werden.\r\n"
    "Wenn die IP verschickt werden soll und auf dem Computer eine Firewall aktiv ist, muss das "
    "Programm somnar-scheduler in der Firewall freigeschaltet werden.\r\n\r\n"
    "Beim Start des Programms wird zunächst geprüft ob der  Standby-Modus (ACPI-S3, Suspend to "
    "RAM) und der Modus Hibernate- oder Ruhezustand (ACPI-S4, Suspend to disk) auf dem Rechner "
    "überhaupt möglich sind.\r\n\r\n";

TEST_F(InfoWindowTest, InfoButtonOpensTheWindowWithItsParagraphsInOrder) {
    EXPECT_FALSE(info.window.loaded());
    EXPECT_EQ(info.infoText.text(), "Text1");
    ui.infoButton.userClick();
    EXPECT_TRUE(info.window.loaded() && info.window.visible());
    EXPECT_EQ(info.window.caption(), "Somnar-Scheduler INFO");
    const std::string& text = info.infoText.text();
    ASSERT_GT(text.size(), kExpectedText.size());
    EXPECT_TRUE(text.starts_with(kExpectedText));
    // The closing signature is one line of its own.
    EXPECT_EQ(text.find("\r\n", kExpectedText.size()), std::string::npos);
}

TEST_F(InfoWindowTest, OneWindowCentredTillClosedThenBuiltAgainWithTheProgramsName) {
    testing::FakeWindowCommands windowSystem;
    info.window.setCommands(&windowSystem);
    platform.desktop.widthTwips = 800 * 15;
    platform.desktop.heightTwips = 600 * 15;
    platform.program.name = "schlafplaner";
    platform.program.extension = ".exe";
    ui.infoButton.setValue(true);
    const std::string first = info.infoText.text();
    EXPECT_NE(first.find("muss das Programm schlafplaner.exe in der Firewall freigeschaltet "
                         "werden."),
              std::string::npos);
    EXPECT_EQ(info.window.left(), (800 * 15 - info.window.width()) / 2);
    EXPECT_EQ(info.window.top(), (600 * 15 - info.window.height()) / 2);
    windowSystem.done.clear();
    ui.infoButton.setValue(true);
    EXPECT_EQ(info.infoText.text(), first);
    EXPECT_EQ(windowSystem.done, std::vector<std::string>{"front"});
    info.backButton.userClick();
    EXPECT_FALSE(info.window.loaded() || info.window.visible());
    platform.program.name = "umbenannt";
    platform.program.extension = "";
    ui.infoButton.setValue(true);
    EXPECT_NE(info.infoText.text().find("Programm umbenannt in der Firewall"), std::string::npos);
}

TEST_F(FormTest, TheIconTakesTheWindowAwayAndOnlyTheLeftButtonsReleaseOpensItsMenu) {
    testing::FakeWindowCommands windowSystem;
    ui.window.setCommands(&windowSystem);
    ui.window.show();
    ui.trayButton.setEnabled(true);
    ui.trayButton.userClick();
    EXPECT_FALSE(ui.window.visible());
    for (TrayClick click : {TrayClick::LeftDown, TrayClick::LeftDouble, TrayClick::RightDown,
                            TrayClick::RightUp, TrayClick::MiddleUp}) {
        platform.tray.onClick(click);
    }
    EXPECT_TRUE(windowSystem.done.empty());
    platform.tray.onClick(TrayClick::LeftUp);
    EXPECT_EQ(windowSystem.done, std::vector<std::string>{"popUp mnuPopUp"});
    ui.countdownMenuEntry.userClick();
    EXPECT_FALSE(ui.window.visible());
    ui.showWindowEntry.userClick();
    EXPECT_TRUE(ui.window.visible());
    EXPECT_EQ(platform.tray.calls,
              (std::vector<std::string>{"prepare Somnar Scheduler", "add", "remove"}));

    // Without a notification area a hidden window could not be found again.
    platform.tray.hasNotificationArea = false;
    ui.trayButton.setValue(true);
    EXPECT_EQ(windowSystem.done.back(), "minimize");
    EXPECT_TRUE(ui.window.visible());
    EXPECT_EQ(platform.tray.calls.size(), 3u);
}

TEST_F(FormTest, TheOpenDialogAsksWithItsChoicesAndGivesOnePath) {
    EXPECT_FALSE(ui.programPath.enabled());  // the button works all the same
    platform.fileDialog.answer = ChosenFile{"/home/anna/Aufwachen-Ruhe/", "start.sh"};
    ui.chooseProgramButton.userClick();
    const auto& request = platform.fileDialog.requests.at(0);
    EXPECT_EQ(request.title + "|" + request.folder, "Exe oder BAT Datei auswählen|/home/anna");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].caption, "EXE- oder BAT-Dateien(*.exe;*.bat)");
    EXPECT_EQ(request.filters[0].patterns, (std::vector<std::string>{"*.exe", "*.bat", "*.sh"}));
    EXPECT_EQ(request.filters[1].caption, " Alle Dateien (*.*)");
    EXPECT_EQ(request.filters[1].patterns, std::vector<std::string>{"*"});
    EXPECT_EQ(ui.programPath.text(), "/home/anna/Aufwachen-Ruhe/start.sh");
    for (const auto& [folder, path] :
         {std::pair{"/", "/wecker"}, {"/opt/bin", "/opt/bin/wecker"}}) {
        platform.fileDialog.answer = ChosenFile{folder, "wecker"};
        ui.chooseProgramButton.setValue(true);
        EXPECT_EQ(ui.programPath.text(), path);
    }
    platform.fileDialog.answer.reset();  // cancelled
    ui.chooseProgramButton.setValue(true);
    EXPECT_EQ(ui.programPath.text(), "");
}

TEST_F(FormTest, TheFirstDroppedFileFillsTheEnabledPathAndTheToolTipFollowsIt) {
    ui.programPath.userDropFiles({"/tmp/x"});
    EXPECT_NE(ui.programPath.text(), "/tmp/x");  // disabled: not taken
    ui.programBox.setValue(1);
    ui.programPath.userDropFiles({"/home/anna/eins.sh", "/home/anna/zwei.sh"});
    ui.programPath.userDropFiles({});
    EXPECT_EQ(ui.programPath.text(), "/home/anna/eins.sh");
    ui.programPath.userMouseMove();
    EXPECT_EQ(ui.programPath.toolTip(), "/home/anna/eins.sh");
    ui.programPath.setText("");
    ui.programPath.userMouseMove();
    EXPECT_EQ(ui.programPath.toolTip(), "");
}

}  // namespace
}  // namespace somnar
