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
    FrmInfo info{platform.services};
    Form1 form{platform.services, info};

    StartOutcome start() { return form.Form_Load(); }
};

TEST_F(StartupTest, NormalMomentFillsEveryPickerFromThePresent) {
    platform.clock.set(2026, 12, 6, 10, 2, 33);
    ASSERT_EQ(start(), StartOutcome::Shown);

    EXPECT_EQ(form.Label4.caption(), "06.12.2026 10:02:33");
    EXPECT_EQ(form.Label26.caption(), "");
    EXPECT_EQ(form.cmbDay.text(), "06");
    EXPECT_EQ(form.cmbMonth.text(), "12");
    EXPECT_EQ(form.cmbYear.text(), "2026");
    EXPECT_EQ(form.cmbHour.text(), "10");
    EXPECT_EQ(form.cmbMinute.text(), "12");
    EXPECT_EQ(form.cmbDay_aus.text(), "06");
    EXPECT_EQ(form.cmbMonth_aus.text(), "12");
    EXPECT_EQ(form.cmbYear_aus.text(), "2026");
    EXPECT_EQ(form.cmbHour_aus.text(), "10");
    EXPECT_EQ(form.cmbMinute_aus.text(), "07");

    for (const Picker* days : {&form.cmbDay, &form.cmbDay_aus}) {
        ASSERT_EQ(days->items().size(), 31u);
        EXPECT_EQ(days->items().front(), "01");
        EXPECT_EQ(days->items().back(), "31");
    }
    EXPECT_EQ(form.cmbMonth.items().size(), 12u);
    ASSERT_EQ(form.cmbHour_aus.items().size(), 24u);
    EXPECT_EQ(form.cmbHour_aus.items().front(), "00");
    ASSERT_EQ(form.cmbMinute.items().size(), 60u);
    EXPECT_EQ(form.cmbMinute.items().back(), "59");
    ASSERT_EQ(form.cmbYear.items().size(), 75u);
    EXPECT_EQ(form.cmbYear.items().front(), "2026");
    EXPECT_EQ(form.cmbYear_aus.items().back(), "2100");

    ASSERT_EQ(form.cmbSpanne.items().size(), 1440u);
    EXPECT_EQ(form.cmbSpanne.items()[0], "   1");
    EXPECT_EQ(form.cmbSpanne.items()[19], "  20");
    EXPECT_EQ(form.cmbSpanne.items()[1439], "1440");
    EXPECT_EQ(form.cmbSpanne.text(), "  20");

    EXPECT_EQ(form.TxtFile.text(), "ip.html");
    EXPECT_EQ(form.TxtFileR.text(), "ip.html");
}

TEST_F(StartupTest, PresetsWrapPastMidnightWithoutMovingTheDate) {
    platform.clock.set(2026, 12, 31, 23, 55, 10);
    start();
    EXPECT_EQ(form.cmbHour.text(), "00");
    EXPECT_EQ(form.cmbMinute.text(), "05");
    EXPECT_EQ(form.cmbDay.text(), "31");
    EXPECT_EQ(form.cmbMonth.text(), "12");
    EXPECT_EQ(form.cmbYear.text(), "2026");
    EXPECT_EQ(form.cmbHour_aus.text(), "00");
    EXPECT_EQ(form.cmbMinute_aus.text(), "00");
}

TEST_F(StartupTest, SleepPresetAt2357IsTwoMinutesPastMidnightOnTheSameDay) {
    platform.clock.set(2026, 3, 1, 23, 57, 0);
    start();
    EXPECT_EQ(form.cmbHour_aus.text(), "00");
    EXPECT_EQ(form.cmbMinute_aus.text(), "02");
    EXPECT_EQ(form.cmbDay_aus.text(), "01");
    EXPECT_EQ(form.cmbMonth_aus.text(), "03");
    EXPECT_EQ(form.cmbHour.text(), "00");
    EXPECT_EQ(form.cmbMinute.text(), "07");
}

TEST_F(StartupTest, InTheYear2100EachYearListHoldsOnly2100) {
    platform.clock.set(2100, 5, 4, 12, 0, 0);
    start();
    EXPECT_EQ(form.cmbYear.items(), std::vector<std::string>{"2100"});
    EXPECT_EQ(form.cmbYear_aus.items(), std::vector<std::string>{"2100"});
}

TEST_F(StartupTest, AfterThe2100YearListsStayEmptyButShowThePresentYear) {
    platform.clock.set(2101, 1, 1, 0, 0, 0);
    start();
    EXPECT_TRUE(form.cmbYear.items().empty());
    EXPECT_TRUE(form.cmbYear_aus.items().empty());
    EXPECT_EQ(form.cmbYear.text(), "2101");
    EXPECT_EQ(form.cmbYear_aus.text(), "2101");
    EXPECT_EQ(form.Label4.caption(), "01.01.2101");  // midnight: the date alone
}

TEST_F(StartupTest, WindowIsCentredWithItsDesignSizeThenMadeCompact) {
    platform.desktop.widthTwips = 1024 * 15;
    platform.desktop.heightTwips = 768 * 15;
    start();
    EXPECT_EQ(form.window.left(), (1024 * 15 - form1Design().width) / 2);
    EXPECT_EQ(form.window.top(), (768 * 15 - form1Design().height) / 2);
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

    EXPECT_EQ(form.lbHibernate.caption(), can.hibernate ? "ja" : "nein");
    EXPECT_EQ(form.cmdHibernate.enabled(), can.hibernate);
    EXPECT_EQ(form.cmdRS_aus[0].enabled(), can.hibernate);
    EXPECT_EQ(form.Option1[0].enabled(), can.hibernate);
    EXPECT_EQ(form.Option1[0].value(), can.hibernate);

    EXPECT_EQ(form.lbSuspend.caption(), can.suspend ? "ja" : "nein");
    EXPECT_EQ(form.cmdSuspend.enabled(), can.suspend);
    EXPECT_EQ(form.cmdRS_aus[1].enabled(), can.suspend);
    EXPECT_EQ(form.Option1[1].enabled(), can.suspend);
    // Standby is never chosen in place of a missing hibernation.
    EXPECT_FALSE(form.Option1[1].value());

    // The pictures on the timed buttons stay enabled whatever the answers.
    EXPECT_TRUE(form.Picture1[2].enabled());
    EXPECT_TRUE(form.Picture2[2].enabled());
}

INSTANTIATE_TEST_SUITE_P(EachCombination, CapabilityTest,
                         ::testing::Values(Capabilities{true, true}, Capabilities{true, false},
                                           Capabilities{false, true}, Capabilities{false, false}));

TEST_F(StartupTest, FirstRunLeavesTheSevenFieldsEmptyAlthoughTheListHasEntries) {
    platform.dialer.entries = {"T-Online Modem", "provider"};
    start();
    EXPECT_EQ(form.cmbDFUE_Name.items(), (std::vector<std::string>{"T-Online Modem", "provider"}));
    EXPECT_EQ(form.cmbDFUE_Name.text(), "");
    EXPECT_EQ(form.txtUser.text(), "");
    EXPECT_EQ(form.txtPassword.text(), "");
    EXPECT_EQ(form.txtServer.text(), "");
    EXPECT_EQ(form.txtFTP_USER.text(), "");
    EXPECT_EQ(form.txtFTP_Password.text(), "");
    EXPECT_EQ(form.txtDir.text(), "");
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
    EXPECT_EQ(form.cmbDFUE_Name.text(), "Arcor");
    EXPECT_EQ(form.txtUser.text(), "anna");
    EXPECT_EQ(form.txtPassword.text(), "geheim");
    EXPECT_EQ(form.txtServer.text(), "ftp.example.org");
    EXPECT_EQ(form.txtFTP_USER.text(), "web1");
    EXPECT_EQ(form.txtFTP_Password.text(), "pw;#=\"");
    EXPECT_EQ(form.txtDir.text(), "/htdocs");

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
    EXPECT_EQ(form.cmbDFUE_Name.text(), "Alte Verbindung");
    EXPECT_EQ(form.cmbDFUE_Name.items(), std::vector<std::string>{"provider"});
}

TEST_F(StartupTest, EmptyDialUpListIsFine) {
    start();
    EXPECT_TRUE(form.cmbDFUE_Name.items().empty());
    EXPECT_EQ(form.cmbDFUE_Name.listIndex(), -1);
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
    EXPECT_TRUE(form.cmbDay.items().empty());
    EXPECT_FALSE(form.window.loaded());
    EXPECT_TRUE(platform.settings.writes.empty());
}

TEST_F(StartupTest, StartLeavesBoxesOptionsAndTimersAsDesigned) {
    start();
    EXPECT_TRUE(form.optSOMNAR[1].value());
    EXPECT_EQ(form.chkINET.value(), 0);
    EXPECT_EQ(form.chkActionen.value(), 0);
    EXPECT_TRUE(form.tmrAktZeit.enabled());
    EXPECT_FALSE(form.tmrRuhe.enabled());
    EXPECT_FALSE(form.tmrStandby.enabled());
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_FALSE(form.tmrIP.enabled());
    EXPECT_FALSE(form.cmbDay.enabled());
    EXPECT_EQ(form.lblIP.caption(), "0.0.0.0");
    EXPECT_EQ(form.Status.caption(), "Disconnected...");
}

struct UnloadTest : StartupTest {};

// Values typed and never sent by an upload are kept too.
TEST_F(UnloadTest, ClosingStoresTheDialUpAndFtpValuesInOrderEvenWhileDisabled) {
    start();
    form.cmbDFUE_Name.setText("Mein Provider");
    form.txtUser.setText("");
    form.txtPassword.setText(" geheim ");
    form.txtServer.setText("nie hochgeladen");
    form.txtDir.setText("/www");
    platform.settings.writes.clear();
    form.Form_Unload();

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
    form.cmbDFUE_Name.setText("Mein Provider");
    form.txtUser.setText("bert");
    form.Form_Unload();

    FrmInfo nextInfo{platform.services};
    Form1 next{platform.services, nextInfo};
    next.Form_Load();
    EXPECT_EQ(next.cmbDFUE_Name.text(), "Mein Provider");
    EXPECT_EQ(next.txtUser.text(), "bert");
}

TEST_F(UnloadTest, AFileThatCannotBeRewrittenIsToldOnceEachAndTheClosingGoesOn) {
    start();
    platform.settings.failWrites = true;
    form.Form_Unload();
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
