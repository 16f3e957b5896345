// The info window: its text, one window at a time, and closing it.

#include <gtest/gtest.h>

#include "app/main_window_model.h"
#include "fakes/fake_platform.h"

namespace somnar {
namespace {

using testing::FakePlatform;

struct InfoWindowTest : ::testing::Test {
    FakePlatform platform;
    InfoWindow info{platform.services};
    MainWindow form{platform.services, info};
};

const char* const kExpectedText =
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
    form.infoButton.userClick();
    EXPECT_TRUE(info.window.loaded());
    EXPECT_TRUE(info.window.visible());
    EXPECT_EQ(info.window.caption(), "Somnar-Scheduler INFO");
    const std::string& text = info.infoText.text();
    ASSERT_GT(text.size(), std::string(kExpectedText).size());
    EXPECT_EQ(text.substr(0, std::string(kExpectedText).size()), kExpectedText);
    // The closing signature is one line of its own.
    EXPECT_EQ(text.find("\r\n", std::string(kExpectedText).size()), std::string::npos);
}

TEST_F(InfoWindowTest, OneWindowCentredTillClosedThenBuiltAgainWithTheProgramsName) {
    testing::FakeWindowCommands windowSystem;
    info.window.setCommands(&windowSystem);
    platform.desktop.widthTwips = 800 * 15;
    platform.desktop.heightTwips = 600 * 15;
    platform.program.name = "schlafplaner";
    platform.program.extension = ".exe";
    form.onInfo();
    const std::string first = info.infoText.text();
    EXPECT_NE(first.find("muss das Programm schlafplaner.exe in der Firewall freigeschaltet "
                         "werden."),
              std::string::npos);
    EXPECT_EQ(info.window.left(), (800 * 15 - info.window.width()) / 2);
    EXPECT_EQ(info.window.top(), (600 * 15 - info.window.height()) / 2);
    windowSystem.done.clear();
    form.onInfo();
    EXPECT_EQ(info.infoText.text(), first);
    EXPECT_EQ(windowSystem.done, std::vector<std::string>{"front"});
    info.backButton.userClick();
    EXPECT_FALSE(info.window.loaded() || info.window.visible());
    platform.program.name = "umbenannt";
    platform.program.extension = "";
    form.onInfo();
    EXPECT_NE(info.infoText.text().find("Programm umbenannt in der Firewall"), std::string::npos);
}

}  // namespace
}  // namespace somnar
