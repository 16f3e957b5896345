// Arming the wake-up, sleeping, and the after-wake steps in their order.

#include <gtest/gtest.h>

#include "app/failure_texts.h"
#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::EventLog;
using testing::FormTest;
using testing::utc;

struct GoTest : FormTest {
    void SetUp() override {
        FormTest::SetUp();
        platform.clock.set(2026, 12, 6, 20, 0, 0);
        setWakeUp("07", "12", "2026", "06", "30");
        form.Command4.onClick = [this] { platform.log.push_back("Command4"); };
        form.Timer1.setObserver([this] {
            if (form.Timer1.enabled()) {
                platform.log.push_back("Timer1 on");
            }
        });
    }
};

TEST_F(GoTest, StandbyWithNothingTickedArmsSleepsKeepsAwakeAndReleases) {
    EXPECT_EQ(form.go("standby"), GoOutcome::AfterWake);
    EXPECT_EQ(platform.log,
              (EventLog{"alarm armed", "sleep standby", "keep awake", "alarm released"}));
    ASSERT_EQ(platform.wakeAlarm.armed.size(), 1u);
    EXPECT_EQ(platform.wakeAlarm.armed[0].state, SleepState::Standby);
    EXPECT_EQ(platform.wakeAlarm.armed[0].due, utc(2026, 12, 7, 5, 30));
    EXPECT_FALSE(form.tmrIP.enabled());
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_FALSE(form.cmdReset.enabled());
}

TEST_F(GoTest, AfterWakeStepsRunInTheirOrder) {
    form.chkINET.setValue(1);
    form.chkFTP.setValue(1);
    form.chkPROG.setValue(1);
    form.Text1.setText("/home/anna/start.sh");
    form.chkSLEEPnachSOMNAR.setValue(1);
    form.go("hibernate");
    EXPECT_EQ(platform.log,
              (EventLog{"alarm armed", "sleep hibernate", "keep awake", "alarm released",
                        "Command4", "start /home/anna/start.sh", "Timer1 on"}));
    EXPECT_TRUE(form.tmrIP.enabled());
    EXPECT_TRUE(form.cmdReset.enabled());
    EXPECT_TRUE(form.cmdTray.enabled());
    EXPECT_TRUE(form.cmdParameterInfo.enabled());
}

TEST_F(GoTest, DialUpWithoutFtpLeavesTheWatchOff) {
    form.chkINET.setValue(1);
    form.go("standby");
    EXPECT_NE(std::find(platform.log.begin(), platform.log.end(), "Command4"), platform.log.end());
    EXPECT_FALSE(form.tmrIP.enabled());
}

TEST_F(GoTest, PermanentConnectionWithFtpStartsTheWatchWithoutDialling) {
    form.chkDSL.setValue(1);
    form.chkFTP.setValue(1);
    form.go("standby");
    EXPECT_TRUE(form.tmrIP.enabled());
    EXPECT_EQ(std::find(platform.log.begin(), platform.log.end(), "Command4"), platform.log.end());
}

TEST_F(GoTest, ProgramBoxWithEmptyPathStartsNothing) {
    form.chkPROG.setValue(1);
    form.Text1.setText("");
    form.go("standby");
    EXPECT_TRUE(platform.programs.started.empty());
}

// Nobody may be at the machine: no box holds up the rest, the problem waits in the
// status line, the journal and a notification.
TEST_F(GoTest, AProgramOrDiallerThatCannotStartIsReportedWithoutABoxAndTheRestGoesOn) {
    form.chkINET.setValue(1);
    form.Command4.onClick = [this] { form.Command4_Click(); };
    form.chkPROG.setValue(1);
    form.Text1.setText("/nirgends/da.sh");
    form.chkSLEEPnachSOMNAR.setValue(1);
    platform.dialer.answer = {DialError::PppMissing, {}, {}};
    platform.programs.answer = {StartError::NoSuchFile, "/nirgends/da.sh", {}};
    form.go("standby");
    const std::string dial =
        "Einwahl fehlgeschlagen: pon konnte nicht gestartet werden (ist das Paket ppp "
        "installiert?).";
    const std::string start =
        "Programmstart fehlgeschlagen: Die Datei /nirgends/da.sh gibt es nicht.";
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_EQ(form.Label26.caption(), start);
    EXPECT_EQ(platform.journal.entries, (std::vector<std::pair<LogLevel, std::string>>{
                                            {LogLevel::Error, dial}, {LogLevel::Error, start}}));
    ASSERT_EQ(platform.notifier.shown.size(), 2u);
    EXPECT_EQ(platform.notifier.shown[0].second, dial);
    EXPECT_EQ(platform.notifier.shown[1].second, start);
    EXPECT_TRUE(form.Timer1.enabled());
}

// A sleep that did not happen is no wake-up: the alarm goes, the user is told why, and
// nothing of the after-wake path runs.
TEST_F(GoTest, ASleepThatDidNotHappenRunsNothingAfterItAndSaysWhy) {
    const std::tuple<SleepOutcome, std::string, std::string> cases[] = {
        {SleepOutcome::NotAuthorized, "Interactive authentication required.",
         "Die Energieverwaltung erlaubt es diesem Benutzer nicht.\r\nInteractive "
         "authentication required."},
        {SleepOutcome::NotSupported, "", "Dieser Rechner unterstützt diesen Zustand nicht."},
        {SleepOutcome::Refused, "There's already a shutdown or sleep operation in progress",
         "Die Energieverwaltung hat die Anfrage abgelehnt.\r\nThere's already a shutdown or "
         "sleep operation in progress"},
        {SleepOutcome::NotAnnounced, "",
         "Die Energieverwaltung hat die Anfrage angenommen, aber nicht ausgeführt."},
        {SleepOutcome::NoService, "",
         "Die Energieverwaltung (systemd-logind) ist nicht erreichbar."}};
    form.chkINET.setValue(1);
    form.chkDSL.setValue(0);
    form.chkPROG.setValue(1);
    form.Text1.setText("/home/anna/start.sh");
    form.chkSLEEPnachSOMNAR.setValue(1);
    for (const auto& [outcome, detail, reason] : cases) {
        platform.log.clear();
        form.cmdRS_aus[0].setEnabled(false);  // as a timed request leaves them
        form.cmdHibernate.setEnabled(false);
        platform.power.result = {outcome, detail};
        EXPECT_EQ(form.go("hibernate"), GoOutcome::NotSlept);
        EXPECT_EQ(platform.log, (EventLog{"alarm armed", "sleep hibernate", "alarm released"}));
        EXPECT_EQ(lastMessage(), "Der Rechner wurde nicht in den Ruhezustand versetzt. " + reason);
        EXPECT_EQ(platform.dialogs.shown.back().icon, MessageIcon::Critical);
        EXPECT_TRUE(form.cmdRS_aus[0].enabled());
        EXPECT_TRUE(form.cmdHibernate.enabled());
    }
    EXPECT_EQ(platform.power.keepAwakeCalls, 0);
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_FALSE(form.cmdReset.enabled());
    EXPECT_EQ(platform.journal.entries.size(), std::size(cases));
}

TEST_F(GoTest, AnAlarmThatCannotBeArmedLeadsToNoSleepAndNothingAfter) {
    platform.wakeAlarm.refuseWith = AlarmError::NoPermission;
    platform.wakeAlarm.refusalDetail = "/usr/bin/somnar-scheduler";
    form.chkINET.setValue(1);
    form.chkSLEEPnachSOMNAR.setValue(1);
    EXPECT_EQ(form.go("standby"), GoOutcome::Refused);
    EXPECT_TRUE(platform.power.sleeps.empty());
    EXPECT_EQ(platform.power.keepAwakeCalls, 0);
    EXPECT_EQ(platform.log, EventLog{"alarm refused"});
    EXPECT_FALSE(form.Timer1.enabled());
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(lastMessage(),
              "Die Aufwachzeit konnte nicht gestellt werden. Dem Programm fehlt die Berechtigung, "
              "den Weckalarm zu stellen.\r\nDas Programm darf keinen Weckzeitgeber stellen (es "
              "fehlt die Berechtigung CAP_WAKE_ALARM). Als root freischalten mit: setcap "
              "cap_wake_alarm+ep /usr/bin/somnar-scheduler\r\nDer Rechner wird nicht in den "
              "Standbyzustand "
              "versetzt.\r\nWas diesem Rechner zum Wecken fehlt, zeigt: somnar-scheduler --check");
    EXPECT_EQ(platform.dialogs.shown[0].title, "Somnar-Scheduler");
    EXPECT_EQ(platform.dialogs.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(platform.journal.entries.at(0).second, lastMessage());
}

TEST_F(GoTest, EachRefusalIsNamed) {
    const std::pair<AlarmError, const char*> cases[] = {
        {AlarmError::NoAlarmClock,
         "Dieser Rechner hat keine Uhr, die ihn aus diesem Zustand "
         "wecken kann."},
        {AlarmError::NotInFuture, "Die Aufwachzeit liegt nicht in der Zukunft."},
        {AlarmError::Failed, "Der Weckalarm konnte nicht gestellt werden."}};
    for (const auto& [error, reason] : cases) {
        platform.wakeAlarm.refuseWith = error;
        form.go("hibernate");
        EXPECT_EQ(lastMessage(), std::string("Die Aufwachzeit konnte nicht gestellt werden. ") +
                                     reason + "\r\n" +
                                     alarmFailureText(SleepState::Hibernate, {error, {}, {}}) +
                                     "\r\nDer Rechner wird nicht in den Ruhezustand "
                                     "versetzt.\r\nWas diesem Rechner zum Wecken fehlt, "
                                     "zeigt: somnar-scheduler --check");
    }
    EXPECT_TRUE(platform.power.sleeps.empty());
}

TEST_F(GoTest, PickersEditedDuringACountdownAreReadWhenGoRuns) {
    form.cmbHour.setText("07");
    form.go("standby");
    EXPECT_EQ(platform.wakeAlarm.armed.at(0).due, utc(2026, 12, 7, 6, 30));
}

TEST_F(GoTest, PickersThatGiveNoDateAreRefusedBeforeAnythingIsArmed) {
    form.cmbDay.setText("32");
    form.cmdRS_aus[1].setEnabled(false);  // as the timed request that fires now left it
    EXPECT_EQ(form.go("standby"), GoOutcome::Refused);
    EXPECT_TRUE(form.cmdRS_aus[1].enabled());
    EXPECT_TRUE(platform.log.empty());
    EXPECT_EQ(lastMessage().rfind("Die Aufwachzeit ist ungültig", 0), 0u);
}

TEST_F(GoTest, WakeUpAcrossTheAutumnChangeUsesTheOffsetOfTheWakeUpDate) {
    platform.clock.utcOffsetMinutes = testing::berlinOffsetMinutes;
    platform.clock.set(2026, 10, 20, 12, 0, 0);  // summer time now
    setWakeUp("25", "10", "2026", "06", "30");   // winter time then
    form.go("hibernate");
    EXPECT_EQ(platform.wakeAlarm.armed.at(0).due, utc(2026, 10, 25, 5, 30));
}

TEST_F(GoTest, WakeUpAcrossTheSpringChangeUsesTheOffsetOfTheWakeUpDate) {
    platform.clock.utcOffsetMinutes = testing::berlinOffsetMinutes;
    platform.clock.set(2027, 3, 20, 12, 0, 0);
    setWakeUp("28", "03", "2027", "06", "30");
    form.go("standby");
    EXPECT_EQ(platform.wakeAlarm.armed.at(0).due, utc(2027, 3, 28, 4, 30));
}

}  // namespace
}  // namespace somnar
