// Start-up against a settable clock and scripted platform answers.

#include <gtest/gtest.h>

#include "app/main_window_model.h"
#include "app/settings_keys.h"
#include "fakes/fake_platform.h"

namespace somnar {
namespace {

using testing::FakePlatform;

struct StartupTest : ::testing::Test {
    FakePlatform platform;
    InfoWindow info{platform.services};
    MainWindow form{platform.services, info};

    StartOutcome start() { return form.load(); }
};

TEST_F(StartupTest, NormalMomentFillsEveryPickerFromThePresent) {
    platform.clock.set(2026, 12, 6, 10, 2, 33);
    ASSERT_EQ(start(), StartOutcome::Shown);

    EXPECT_EQ(form.clockLine.caption(), "06.12.2026 10:02:33");
    EXPECT_EQ(form.statusLine.caption(), "");
    EXPECT_EQ(form.wakeTime.day.text(), "06");
    EXPECT_EQ(form.wakeTime.month.text(), "12");
    EXPECT_EQ(form.wakeTime.year.text(), "2026");
    EXPECT_EQ(form.wakeTime.hour.text(), "10");
    EXPECT_EQ(form.wakeTime.minute.text(), "12");
    EXPECT_EQ(form.sleepTime.day.text(), "06");
    EXPECT_EQ(form.sleepTime.month.text(), "12");
    EXPECT_EQ(form.sleepTime.year.text(), "2026");
    EXPECT_EQ(form.sleepTime.hour.text(), "10");
    EXPECT_EQ(form.sleepTime.minute.text(), "07");

    for (const Picker* days : {&form.wakeTime.day, &form.sleepTime.day}) {
        ASSERT_EQ(days->items().size(), 31u);
        EXPECT_EQ(days->items().front(), "01");
        EXPECT_EQ(days->items().back(), "31");
    }
    EXPECT_EQ(form.wakeTime.month.items().size(), 12u);
    ASSERT_EQ(form.sleepTime.hour.items().size(), 24u);
    EXPECT_EQ(form.sleepTime.hour.items().front(), "00");
    ASSERT_EQ(form.wakeTime.minute.items().size(), 60u);
    EXPECT_EQ(form.wakeTime.minute.items().back(), "59");
    ASSERT_EQ(form.wakeTime.year.items().size(), 75u);
    EXPECT_EQ(form.wakeTime.year.items().front(), "2026");
    EXPECT_EQ(form.sleepTime.year.items().back(), "2100");

    ASSERT_EQ(form.renewedSleepSpan.items().size(), 1440u);
    EXPECT_EQ(form.renewedSleepSpan.items()[0], "   1");
    EXPECT_EQ(form.renewedSleepSpan.items()[19], "  20");
    EXPECT_EQ(form.renewedSleepSpan.items()[1439], "1440");
    EXPECT_EQ(form.renewedSleepSpan.text(), "  20");

    EXPECT_EQ(form.localFileName.text(), "ip.html");
    EXPECT_EQ(form.remoteFileName.text(), "ip.html");
}

TEST_F(StartupTest, PresetsWrapPastMidnightWithoutMovingTheDate) {
    platform.clock.set(2026, 12, 31, 23, 55, 10);
    start();
    EXPECT_EQ(form.wakeTime.hour.text(), "00");
    EXPECT_EQ(form.wakeTime.minute.text(), "05");
    EXPECT_EQ(form.wakeTime.day.text(), "31");
    EXPECT_EQ(form.wakeTime.month.text(), "12");
    EXPECT_EQ(form.wakeTime.year.text(), "2026");
    EXPECT_EQ(form.sleepTime.hour.text(), "00");
    EXPECT_EQ(form.sleepTime.minute.text(), "00");
}

TEST_F(StartupTest, SleepPresetAt2357IsTwoMinutesPastMidnightOnTheSameDay) {
    platform.clock.set(2026, 3, 1, 23, 57, 0);
    start();
    EXPECT_EQ(form.sleepTime.hour.text(), "00");
    EXPECT_EQ(form.sleepTime.minute.text(), "02");
    EXPECT_EQ(form.sleepTime.day.text(), "01");
    EXPECT_EQ(form.sleepTime.month.text(), "03");
    EXPECT_EQ(form.wakeTime.hour.text(), "00");
    EXPECT_EQ(form.wakeTime.minute.text(), "07");
}

TEST_F(StartupTest, InTheYear2100EachYearListHoldsOnly2100) {
    platform.clock.set(2100, 5, 4, 12, 0, 0);
    start();
    EXPECT_EQ(form.wakeTime.year.items(), std::vector<std::string>{"2100"});
    EXPECT_EQ(form.sleepTime.year.items(), std::vector<std::string>{"2100"});
}

TEST_F(StartupTest, AfterThe2100YearListsStayEmptyButShowThePresentYear) {
    platform.clock.set(2101, 1, 1, 0, 0, 0);
    start();
    EXPECT_TRUE(form.wakeTime.year.items().empty());
    EXPECT_TRUE(form.sleepTime.year.items().empty());
    EXPECT_EQ(form.wakeTime.year.text(), "2101");
    EXPECT_EQ(form.sleepTime.year.text(), "2101");
    EXPECT_EQ(form.clockLine.caption(), "01.01.2101");  // midnight: the date alone
}

TEST_F(StartupTest, WindowIsCentredWithItsDesignSizeThenMadeCompact) {
    platform.desktop.widthTwips = 1024 * 15;
    platform.desktop.heightTwips = 768 * 15;
    start();
    EXPECT_EQ(form.window.left(), (1024 * 15 - mainWindowDesign().width) / 2);
    EXPECT_EQ(form.window.top(), (768 * 15 - mainWindowDesign().height) / 2);
    EXPECT_EQ(form.window.height(), 3600);
    EXPECT_TRUE(form.window.loaded());
}

struct Capabilities {
    bool hibernate;
    bool suspend;
};

class CapabilityTest : public StartupTest, public ::testing::WithParamInterface<Capabilities> {};

TEST_P(CapabilityTest, AnswersShowAndEnableOnlyWhatTheMachineCanDo) {
    const Capabilities can = GetParam();
    platform.power.hibernate = can.hibernate;
    platform.power.suspend = can.suspend;
    start();

    EXPECT_EQ(form.hibernateAvailable.caption(), can.hibernate ? "ja" : "nein");
    EXPECT_EQ(form.hibernateNowButton.enabled(), can.hibernate);
    EXPECT_EQ(form.timedSleepButtons[0].enabled(), can.hibernate);
    EXPECT_EQ(form.renewedSleepState[0].enabled(), can.hibernate);
    EXPECT_EQ(form.renewedSleepState[0].value(), can.hibernate);

    EXPECT_EQ(form.standbyAvailable.caption(), can.suspend ? "ja" : "nein");
    EXPECT_EQ(form.standbyNowButton.enabled(), can.suspend);
    EXPECT_EQ(form.timedSleepButtons[1].enabled(), can.suspend);
    EXPECT_EQ(form.renewedSleepState[1].enabled(), can.suspend);
    // Standby is never chosen in place of a missing hibernation.
    EXPECT_FALSE(form.renewedSleepState[1].value());

    // The pictures on the timed buttons stay enabled whatever the answers.
    EXPECT_TRUE(form.standbyPictures[2].enabled());
    EXPECT_TRUE(form.hibernatePictures[2].enabled());
}

INSTANTIATE_TEST_SUITE_P(EachCombination, CapabilityTest,
                         ::testing::Values(Capabilities{true, true}, Capabilities{true, false},
                                           Capabilities{false, true}, Capabilities{false, false}));

TEST_F(StartupTest, FirstRunLeavesTheSevenFieldsEmptyAlthoughTheListHasEntries) {
    platform.dialer.entries = {"T-Online Modem", "provider"};
    start();
    EXPECT_EQ(form.dialupName.items(), (std::vector<std::string>{"T-Online Modem", "provider"}));
    EXPECT_EQ(form.dialupName.text(), "");
    EXPECT_EQ(form.dialupUser.text(), "");
    EXPECT_EQ(form.dialupPassword.text(), "");
    EXPECT_EQ(form.ftpServer.text(), "");
    EXPECT_EQ(form.ftpUser.text(), "");
    EXPECT_EQ(form.ftpPassword.text(), "");
    EXPECT_EQ(form.ftpFolder.text(), "");
}

TEST_F(StartupTest, StoredValuesComeBackInTheirFieldsReadInTheWrittenOrder) {
    platform.settings.store("Verbindung", "Name", "Arcor");
    platform.settings.store("Verbindung", "Userername", "anna");
    platform.settings.store("Verbindung", "Password", "geheim");
    platform.settings.store("VidOru FTP", "Server", "ftp.example.org");
    platform.settings.store("VidOru FTP", "User", "web1");
    platform.settings.store("VidOru FTP", "Password", "pw;#=\"");
    platform.settings.store("VidOru FTP", "Directory", "/htdocs");
    start();
    EXPECT_EQ(form.dialupName.text(), "Arcor");
    EXPECT_EQ(form.dialupUser.text(), "anna");
    EXPECT_EQ(form.dialupPassword.text(), "geheim");
    EXPECT_EQ(form.ftpServer.text(), "ftp.example.org");
    EXPECT_EQ(form.ftpUser.text(), "web1");
    EXPECT_EQ(form.ftpPassword.text(), "pw;#=\"");
    EXPECT_EQ(form.ftpFolder.text(), "/htdocs");

    using A = testing::FakeSettingsStore::Address;
    EXPECT_EQ(platform.settings.reads, (std::vector<A>{{"Verbindung", "Values", "Name"},
                                                       {"Verbindung", "Values", "Userername"},
                                                       {"Verbindung", "Values", "Password"},
                                                       {"VidOru FTP", "Values", "Server"},
                                                       {"VidOru FTP", "Values", "User"},
                                                       {"VidOru FTP", "Values", "Password"},
                                                       {"VidOru FTP", "Values", "Directory"}}));
}

TEST_F(StartupTest, StoredConnectionNameMissingFromTheListIsStillShown) {
    platform.dialer.entries = {"provider"};
    platform.settings.store("Verbindung", "Name", "Alte Verbindung");
    start();
    EXPECT_EQ(form.dialupName.text(), "Alte Verbindung");
    EXPECT_EQ(form.dialupName.items(), std::vector<std::string>{"provider"});
}

TEST_F(StartupTest, EmptyDialUpListIsFine) {
    start();
    EXPECT_TRUE(form.dialupName.items().empty());
    EXPECT_EQ(form.dialupName.listIndex(), -1);
    EXPECT_TRUE(platform.dialogs.shown.empty());
}

TEST_F(StartupTest, TrayIconIsPreparedButNotShown) {
    start();
    EXPECT_EQ(platform.tray.calls, std::vector<std::string>{"prepare"});
    EXPECT_EQ(platform.tray.tip, "Somnar Scheduler");
}

TEST_F(StartupTest, SecondCopyEndsAtOnceWithoutTouchingAnything) {
    platform.instance.otherCopyRunning = true;
    EXPECT_EQ(start(), StartOutcome::SecondCopy);
    EXPECT_TRUE(platform.settings.reads.empty());
    EXPECT_TRUE(platform.tray.calls.empty());
    EXPECT_TRUE(form.wakeTime.day.items().empty());
    EXPECT_FALSE(form.window.loaded());
    EXPECT_TRUE(platform.settings.writes.empty());
}

TEST_F(StartupTest, StartLeavesBoxesOptionsAndTimersAsDesigned) {
    start();
    EXPECT_TRUE(form.wakeChoice[1].value());
    EXPECT_EQ(form.dialupBox.value(), 0);
    EXPECT_EQ(form.optionsBox.value(), 0);
    EXPECT_TRUE(form.clockTimer.enabled());
    EXPECT_FALSE(form.hibernateCountdown.enabled());
    EXPECT_FALSE(form.standbyCountdown.enabled());
    EXPECT_FALSE(form.renewedSleepTimer.enabled());
    EXPECT_FALSE(form.connectionWatch.enabled());
    EXPECT_FALSE(form.wakeTime.day.enabled());
    EXPECT_EQ(form.ipAddressLine.caption(), "0.0.0.0");
    EXPECT_EQ(form.ftpStatus.caption(), "Disconnected...");
}

struct UnloadTest : StartupTest {};

// Values typed and never sent by an upload are kept too.
TEST_F(UnloadTest, ClosingStoresTheDialUpAndFtpValuesInOrderEvenWhileDisabled) {
    start();
    form.dialupName.setText("Mein Provider");
    form.dialupUser.setText("");
    form.dialupPassword.setText(" geheim ");
    form.ftpServer.setText("nie hochgeladen");
    form.ftpFolder.setText("/www");
    platform.settings.writes.clear();
    form.unload();

    using A = testing::FakeSettingsStore::Address;
    EXPECT_EQ(platform.settings.writes, (std::vector<A>{{"Verbindung", "Values", "Name"},
                                                        {"Verbindung", "Values", "Userername"},
                                                        {"Verbindung", "Values", "Password"},
                                                        {"VidOru FTP", "Values", "Server"},
                                                        {"VidOru FTP", "Values", "User"},
                                                        {"VidOru FTP", "Values", "Password"},
                                                        {"VidOru FTP", "Values", "Directory"}}));
    EXPECT_EQ(platform.settings.stored("Verbindung", "Name"), "Mein Provider");
    EXPECT_EQ(platform.settings.stored("Verbindung", "Userername"), "");
    EXPECT_EQ(platform.settings.stored("Verbindung", "Password"), " geheim ");
    EXPECT_EQ(platform.settings.stored("VidOru FTP", "Server"), "nie hochgeladen");
    EXPECT_EQ(platform.settings.stored("VidOru FTP", "Directory"), "/www");
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_FALSE(form.window.loaded());
}

TEST_F(UnloadTest, StoredValuesComeBackOnTheNextStart) {
    start();
    form.dialupName.setText("Mein Provider");
    form.dialupUser.setText("bert");
    form.unload();

    InfoWindow nextInfo{platform.services};
    MainWindow next{platform.services, nextInfo};
    next.load();
    EXPECT_EQ(next.dialupName.text(), "Mein Provider");
    EXPECT_EQ(next.dialupUser.text(), "bert");
}

TEST_F(UnloadTest, AFileThatCannotBeRewrittenIsToldOnceEachAndTheClosingGoesOn) {
    start();
    platform.settings.failWrites = true;
    form.unload();
    ASSERT_EQ(platform.dialogs.shown.size(), 2u);
    EXPECT_EQ(platform.dialogs.shown[0].text,
              "Die Einstellungen konnten nicht gespeichert werden "
              "(/home/anna/.config/somnar-scheduler/Verbindung.ini). Die eingegebenen Werte gehen "
              "beim Beenden verloren.");
    EXPECT_NE(platform.dialogs.shown[1].text.find("VidOru FTP.ini"), std::string::npos);
    EXPECT_EQ(platform.dialogs.shown[1].icon, MessageIcon::Warning);
    EXPECT_FALSE(form.window.loaded());
}

}  // namespace
}  // namespace somnar
