// Start-up against a settable clock and scripted platform answers; closing.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using Address = testing::FakeSettingsStore::Address;

const std::vector<Address> kStoredValues{
    {"Verbindung", "Values", "Name"},     {"Verbindung", "Values", "Userername"},
    {"Verbindung", "Values", "Password"}, {"VidOru FTP", "Values", "Server"},
    {"VidOru FTP", "Values", "User"},     {"VidOru FTP", "Values", "Password"},
    {"VidOru FTP", "Values", "Directory"}};

using StartupTest = testing::ProgramTest;

// Wake-up ten, sleep five minutes ahead; past midnight the date moves on with the time.
TEST_F(StartupTest, PickersArePresetFromThePresentAndListTheirNumbers) {
    const struct {
        LocalDateTime now;
        const char *wakeUp, *sleepAt;
        std::size_t years;
    } cases[] = {
        {{2026, 12, 6, 10, 2, 33}, "06.12.2026 10:12", "06.12.2026 10:07", 75},
        {{2026, 12, 31, 23, 55, 10}, "01.01.2027 00:05", "01.01.2027 00:00", 75},
        {{2026, 2, 28, 23, 52, 0}, "01.03.2026 00:02", "28.02.2026 23:57", 75},
        {{2100, 5, 4, 12, 0, 0}, "04.05.2100 12:10", "04.05.2100 12:05", 1},
        {{2101, 1, 1, 0, 0, 0}, "01.01.2101 00:10", "01.01.2101 00:05", 0},
    };
    for (const auto& c : cases) {
        testing::Program program;
        auto& [platform, info, ui, form] = program;
        platform.clock.set(c.now);
        ASSERT_EQ(form.load(), StartOutcome::Shown);
        EXPECT_EQ(shown(ui.wakeTime), c.wakeUp);
        EXPECT_EQ(shown(ui.sleepTime), c.sleepAt);
        EXPECT_EQ(ui.wakeTime.year.items().size(), c.years);
        EXPECT_EQ(ui.sleepTime.year.items().size(), c.years);
    }
    platform.desktop.widthTwips = 1024 * 15;
    platform.desktop.heightTwips = 768 * 15;
    form.load();  // centred with its design size, then made compact
    EXPECT_EQ(ui.window.left(), (1024 * 15 - mainWindowDesign().width) / 2);
    EXPECT_EQ(ui.window.top(), (768 * 15 - mainWindowDesign().height) / 2);
    EXPECT_TRUE(ui.window.height() == 3600 && ui.window.loaded());
    EXPECT_EQ(platform.tray.calls, std::vector<std::string>{"prepare Somnar Scheduler"});
    std::string lists;
    for (const Picker* picker : {&ui.wakeTime.day, &ui.wakeTime.month, &ui.sleepTime.hour,
                                 &ui.sleepTime.minute, &ui.renewedSleepSpan, &ui.wakeTime.year}) {
        lists += picker->items().front() + "-" + picker->items().back() + " " +
                 std::to_string(picker->items().size()) + "|";
    }
    EXPECT_EQ(lists, "01-31 31|01-12 12|00-23 24|00-59 60|   1-1440 1440|2026-2100 75|");
    EXPECT_EQ(ui.renewedSleepSpan.text(), "  20");
    EXPECT_EQ(ui.localFileName.text() + ui.remoteFileName.text(), "ip.htmlip.html");
    EXPECT_EQ(ui.statusLine.caption(), "");
}

TEST_F(StartupTest, ASecondCopyEndsWithoutTouchingAnything) {
    platform.instance.another = true;
    EXPECT_EQ(form.load(), StartOutcome::SecondCopy);
    EXPECT_TRUE(platform.settings.reads.empty() && platform.tray.calls.empty());
    EXPECT_TRUE(ui.sleepTime.day.items().empty() && ui.hibernateAvailable.caption().empty());
    EXPECT_FALSE(ui.window.loaded());
}

TEST_F(StartupTest, OnlyWhatTheMachineCanDoIsShownAndUsable) {
    for (const auto& [hibernate, suspend] :
         {std::pair{true, true}, {true, false}, {false, true}, {false, false}}) {
        testing::Program program;
        auto& [platform, info, ui, form] = program;
        platform.power.hibernate = hibernate;
        platform.power.suspend = suspend;
        form.load();
        EXPECT_EQ(ui.hibernateAvailable.caption() + "/" + ui.standbyAvailable.caption(),
                  std::string(hibernate ? "ja" : "nein") + "/" + (suspend ? "ja" : "nein"));
        // Hibernation's three, standby's three, then the two pictures.
        EXPECT_EQ(
            enabledOf({&ui.hibernateNowButton, &ui.timedSleepButtons[0], &ui.renewedSleepState[0],
                       &ui.standbyNowButton, &ui.timedSleepButtons[1], &ui.renewedSleepState[1],
                       &ui.standbyPictures[2], &ui.hibernatePictures[2]}),
            std::string(3, hibernate ? '1' : '0') + std::string(3, suspend ? '1' : '0') + "11");
        EXPECT_EQ(ui.renewedSleepState[0].value(), hibernate);
        EXPECT_FALSE(ui.renewedSleepState[1].value());  // never chosen in its place
        ui.hibernatePictures[2].userClick();            // acts only as far as the button beneath
        EXPECT_EQ(platform.dialogs.shown.size(), hibernate ? 1u : 0u);
    }
}

TEST_F(StartupTest, StoredValuesComeBackInTheirFieldsAndTheListIsNotASelection) {
    platform.dialer.entries = {"T-Online Modem", "provider"};
    form.load();
    EXPECT_EQ(ui.dialupName.items(), (std::vector<std::string>{"T-Online Modem", "provider"}));
    EXPECT_EQ(
        ui.dialupName.text() + ui.dialupUser.text() + ui.ftpServer.text() + ui.ftpFolder.text(),
        "");
    EXPECT_EQ(platform.settings.reads, kStoredValues);
    EXPECT_EQ(ui.programPath.text(), "/home/anna/Aufwachen-Ruhe/start.sh");  // the sample

    testing::Program next;
    const char* values[] = {"Alte Verbindung", "anna",   "geheim", "ftp.example.org", "web1",
                            "pw;#=\"",         "/htdocs"};
    for (std::size_t i = 0; i < kStoredValues.size(); ++i) {
        next.platform.settings.values[kStoredValues[i]] = values[i];
    }
    next.form.load();
    const MainWindowControls& restarted = next.ui;
    const TextBox* boxes[] = {&restarted.dialupUser,  &restarted.dialupPassword,
                              &restarted.ftpServer,   &restarted.ftpUser,
                              &restarted.ftpPassword, &restarted.ftpFolder};
    EXPECT_EQ(restarted.dialupName.text(), "Alte Verbindung");  // not in the list, still shown
    EXPECT_EQ(restarted.dialupName.listIndex(), -1);
    for (std::size_t i = 0; i < std::size(boxes); ++i) {
        EXPECT_EQ(boxes[i]->text(), values[i + 1]);
    }
}

// Each value under its own key; a file that cannot take them told in a box only at the window.
TEST_F(StartupTest, ClosingAndTheEndOfTheSessionStoreWhatWasTyped) {
    const std::string notStored =
        "Die Einstellungen konnten nicht gespeichert werden (/home/anna/.config/somnar-scheduler/"
        "Verbindung.ini). Die eingegebenen Werte gehen beim Beenden verloren.";
    for (const auto& [closing, fails] :
         {std::pair{true, false}, {false, false}, {true, true}, {false, true}}) {
        testing::Program program;
        auto& [platform, info, ui, form] = program;
        form.load();
        info.open();
        ui.dialupName.setText("Modem");
        int value = 0;
        for (TextBox* box : {&ui.dialupUser, &ui.dialupPassword, &ui.ftpServer, &ui.ftpUser,
                             &ui.ftpPassword, &ui.ftpFolder}) {
            box->setText("v" + std::to_string(value++));
        }
        platform.settings.failWrites = fails;
        closing ? form.unload() : form.endSession();
        EXPECT_EQ(platform.settings.all(),
                  fails ? ""
                        : "Verbindung/Name=Modem;Verbindung/Password=v1;Verbindung/"
                          "Userername=v0;VidOru FTP/Directory=v5;VidOru FTP/Password=v4;"
                          "VidOru FTP/Server=v2;VidOru FTP/User=v3;");
        ASSERT_EQ(platform.journal.entries.size(), fails ? 2u : 0u);
        ASSERT_EQ(platform.dialogs.shown.size(), fails && closing ? 2u : 0u);
        if (fails) {
            EXPECT_EQ(platform.journal.entries[0].second, notStored);
            EXPECT_NE(platform.journal.entries[1].second.find("VidOru FTP.ini"), std::string::npos);
        }
        if (fails && closing) {
            EXPECT_EQ(platform.dialogs.shown[0],
                      (MessageBox{notStored, "Somnar-Scheduler", MessageButtons::Ok,
                                  MessageIcon::Warning}));
        }
        EXPECT_FALSE(ui.window.loaded());
        EXPECT_EQ(info.window.loaded(), closing);
    }
}

}  // namespace
}  // namespace somnar
