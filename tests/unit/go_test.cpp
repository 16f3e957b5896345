// Arming the wake-up, sleeping, and the after-wake steps in their order.

#include <gtest/gtest.h>

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

TEST_F(GoTest, AProgramThatCannotStartIsReportedWithoutABoxAndTheRestGoesOn) {
    form.chkPROG.setValue(1);
    form.Text1.setText("/nirgends/da.sh");
    form.chkSLEEPnachSOMNAR.setValue(1);
    platform.programs.answer = {false, "Die Datei /nirgends/da.sh gibt es nicht."};
    form.go("standby");
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_EQ(form.Label26.caption(),
              "Programmstart fehlgeschlagen: Die Datei /nirgends/da.sh gibt es nicht.");
    EXPECT_TRUE(form.Timer1.enabled());
}

TEST_F(GoTest, AFailedSleepRunsTheAfterWakePathAtOnce) {
    platform.power.result = {SleepOutcome::Refused, "Access denied"};
    form.chkINET.setValue(1);
    form.go("hibernate");
    EXPECT_EQ(platform.power.keepAwakeCalls, 1);
    EXPECT_NE(std::find(platform.log.begin(), platform.log.end(), "Command4"), platform.log.end());
}

TEST_F(GoTest, AnAlarmThatCannotBeArmedLeadsToNoSleepAndNothingAfter) {
    platform.wakeAlarm.refuseWith = AlarmError::NoPermission;
    platform.wakeAlarm.refusalDetail =
        "Als root freischalten mit: setcap cap_wake_alarm+ep /usr/bin/somnar-scheduler";
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
              "den Weckalarm zu stellen.\r\nAls root freischalten mit: setcap cap_wake_alarm+ep "
              "/usr/bin/somnar-scheduler\r\nDer Rechner wird nicht in den Standbyzustand "
              "versetzt.");
    EXPECT_EQ(platform.dialogs.shown[0].title, "Somnar-Scheduler");
    EXPECT_EQ(platform.dialogs.shown[0].icon, MessageIcon::Critical);
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
                                     reason +
                                     "\r\nDer Rechner wird nicht in den Ruhezustand "
                                     "versetzt.");
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
    EXPECT_EQ(form.go("standby"), GoOutcome::Refused);
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
