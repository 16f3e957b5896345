// The sleep commands, the countdown to the set minute, and sleeping with the wake-up armed
// first; the after-wake steps in their order.

#include <gtest/gtest.h>

#include <tuple>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::EventLog;
using testing::FormTest;
using namespace std::chrono_literals;

TEST(RefusalTextTest, NamesTheKindAndGivesThePowerServicesOwnWords) {
    const std::pair<SleepResult, std::string> sleeps[] = {
        {{SleepOutcome::NotAuthorized, "Interactive authentication required."},
         "Die Energieverwaltung erlaubt es diesem Benutzer nicht.\r\nInteractive authentication "
         "required."},
        {{SleepOutcome::NotSupported, ""}, "Dieser Rechner unterstützt diesen Zustand nicht."},
        {{SleepOutcome::Refused, "busy"},
         "Die Energieverwaltung hat die Anfrage abgelehnt.\r\nbusy"},
        {{SleepOutcome::NotAnnounced, ""},
         "Die Energieverwaltung hat die Anfrage angenommen, aber nicht ausgeführt."},
        {{SleepOutcome::NoService, ""},
         "Die Energieverwaltung (systemd-logind) ist nicht erreichbar."},
        {{SleepOutcome::Abandoned, ""},
         "Das Programm wird beendet; die Anfrage wurde abgebrochen."}};
    for (const auto& [result, reason] : sleeps) {
        EXPECT_EQ(sleepRefusalText(SleepState::Hibernate, result),
                  "Der Rechner wurde nicht in den Ruhezustand versetzt. " + reason);
    }
    // Without the backend's words, the error's; with them, those alone.
    const std::tuple<AlarmError, std::string, std::string> alarms[] = {
        {AlarmError::NoPermission, "",
         "Dem Programm fehlt die Berechtigung, den Weckalarm zu stellen."},
        {AlarmError::NoAlarmClock, "",
         "Dieser Rechner hat keine Uhr, die ihn aus diesem Zustand wecken kann."},
        {AlarmError::NotInFuture, "", "Die Aufwachzeit liegt nicht in der Zukunft."},
        {AlarmError::Failed, "", "Der Weckalarm konnte nicht gestellt werden."},
        {AlarmError::NoAlarmClock, "Kein Weckzeitgeber (722).", "Kein Weckzeitgeber (722)."}};
    for (const auto& [error, detail, reason] : alarms) {
        EXPECT_EQ(wakeAlarmRefusalText(SleepState::Standby, error, detail, "somnar --check"),
                  "Die Aufwachzeit konnte nicht gestellt werden. " + reason +
                      "\r\nDer Rechner wird nicht in den Standbyzustand versetzt.\r\nWas diesem "
                      "Rechner zum Wecken fehlt, zeigt: somnar --check");
    }
}

struct SleepingTest : FormTest {
    void SetUp() override {
        FormTest::SetUp();
        platform.clock.set(2026, 12, 6, 14, 0, 0);
        set(ui.sleepTime, "06.12.2026 14:30");
        set(ui.wakeTime, "07.12.2026 06:30");
        ui.renewedSleepTimer.setObserver([this] {
            if (ui.renewedSleepTimer.enabled()) {
                platform.log.push_back("renewed sleep counts");
            }
        });
    }
    // Timed hibernation, timed standby, hibernation now, standby now, the two pictures.
    std::string sleepCommandsEnabled() const {
        return enabledOf({&ui.timedSleepButtons[0], &ui.timedSleepButtons[1],
                          &ui.hibernateNowButton, &ui.standbyNowButton, &ui.hibernatePictures[2],
                          &ui.standbyPictures[2]});
    }
    void expectSleepCommandsUsable() const { EXPECT_EQ(sleepCommandsEnabled(), "111111"); }
};

TEST_F(SleepingTest, SleepNowWithoutWakeUpAsksFirstAndRunsNothingAfter) {
    ui.hibernateCountdown.setEnabled(true);
    ui.dialupBox.setValue(1);
    platform.dialogs.answers = {MessageAnswer::No, MessageAnswer::Yes};
    ui.hibernateNowButton.userClick();
    EXPECT_EQ(platform.dialogs.shown.at(0),
              (MessageBox{"Soll der Rechner jetzt in den Ruhezustand versetzt werden und nicht "
                          "automatisch wieder erwachen?",
                          "Somnar-Scheduler", MessageButtons::YesNo, MessageIcon::Question}));
    EXPECT_FALSE(ui.hibernateCountdown.enabled());
    EXPECT_TRUE(platform.log.empty());
    ui.standbyNowButton.userClick();
    EXPECT_EQ(platform.dialogs.shown.at(1).text.substr(0, 50),
              "Soll der Rechner jetzt in den Standbyzustand verse");
    EXPECT_EQ(platform.log, EventLog{"sleep standby"});
}

TEST_F(SleepingTest, SleepNowWithWakeUpConfirmsThenSleepsAndWakes) {
    wantWakeUp();
    platform.dialogs.answers = {MessageAnswer::Cancel};
    ui.standbyNowButton.userClick();
    EXPECT_TRUE(platform.log.empty());
    ui.hibernateNowButton.userClick();
    EXPECT_EQ(platform.log,
              (EventLog{"alarm armed", "sleep hibernate", "keep awake", "alarm released"}));
    EXPECT_EQ(platform.wakeAlarm.armed.at(0).due, testing::utc(2026, 12, 7, 5, 30));
    EXPECT_FALSE(ui.connectionWatch.enabled() || ui.resetButton.enabled());
}

TEST_F(SleepingTest, AfterWakeStepsRunInTheirOrderAndOnlyWhenTicked) {
    ui.dialupBox.setValue(1);
    ui.dialupName.setText("T-Online");
    ui.dialupPassword.setText(" ge heim");  // handed on as it stands
    ui.publishBox.setValue(1);
    ui.programBox.setValue(1);
    ui.programPath.setText("/home/anna/start.sh");
    ui.renewedSleepBox.setValue(1);
    sleepAndWake(SleepState::Hibernate);
    EXPECT_EQ(platform.log,
              (EventLog{"alarm armed", "sleep hibernate", "keep awake", "alarm released",
                        "dial T-Online", "start /home/anna/start.sh", "renewed sleep counts"}));
    EXPECT_EQ(
        enabledOf({&ui.connectionWatch, &ui.resetButton, &ui.trayButton, &ui.countdownInfoButton}),
        "1111");
    ui.dialButton.setValue(true);  // dialling by hand
    EXPECT_EQ(platform.dialer.dialled,
              (std::vector<std::vector<std::string>>(2, {"T-Online", "", " ge heim"})));

    // Published once connected: dialled or always on.
    for (int bits = 0; bits < 8; ++bits) {
        AfterWakePlan plan;
        plan.dialup = bits & 1 ? std::optional(DialupLogin{}) : std::nullopt;
        plan.alwaysOnline = bits & 2;
        plan.publishAddress = bits & 4;
        EXPECT_EQ(plan.watchesConnection(), bits == 5 || bits == 6 || bits == 7) << bits;
    }
}

TEST_F(SleepingTest, ADiallerOrProgramThatCannotStartIsReportedWithoutABox) {
    ui.dialupBox.setValue(1);
    ui.programBox.setValue(1);
    ui.programPath.setText("/nirgends/da.sh");
    ui.renewedSleepBox.setValue(1);
    platform.dialer.answer = {DialError::PppMissing, {}, {}};
    platform.programs.answer = {StartError::NoSuchFile, "/nirgends/da.sh", {}};
    sleepAndWake(SleepState::Standby);
    const std::string dial =
        "Einwahl fehlgeschlagen: pon konnte nicht gestartet werden (ist das "
        "Paket ppp installiert?).";
    const std::string start =
        "Programmstart fehlgeschlagen: Die Datei /nirgends/da.sh gibt es nicht.";
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_EQ(ui.statusLine.caption(), start);
    EXPECT_EQ(platform.journal.entries, (std::vector<std::pair<LogLevel, std::string>>{
                                            {LogLevel::Error, dial}, {LogLevel::Error, start}}));
    ASSERT_EQ(platform.notifier.shown.size(), 2u);
    EXPECT_EQ(platform.notifier.shown[0],
              std::pair(std::string("Somnar-Scheduler: Problem nach dem Aufwachen"), dial));
    EXPECT_TRUE(ui.renewedSleepTimer.enabled());
}

TEST_F(SleepingTest, NoSleepOrNoAlarmRunsNothingAfterAndGivesTheCommandsBack) {
    ui.dialupBox.setValue(1);
    ui.renewedSleepBox.setValue(1);
    const auto freeze = [this] {
        ui.timedSleepButtons[0].setEnabled(false);  // as a timed request leaves them
        ui.hibernateNowButton.setEnabled(false);
        platform.log.clear();
    };
    freeze();
    platform.power.result = {SleepOutcome::NotAuthorized, ""};
    EXPECT_EQ(sleepAndWake(SleepState::Hibernate), SleepAttempt::NotSlept);
    EXPECT_EQ(platform.log, (EventLog{"alarm armed", "sleep hibernate", "alarm released"}));
    EXPECT_EQ(platform.dialogs.shown.back(),
              (MessageBox{sleepRefusalText(SleepState::Hibernate, platform.power.result),
                          "Somnar-Scheduler", MessageButtons::Ok, MessageIcon::Critical}));
    expectSleepCommandsUsable();

    freeze();
    platform.wakeAlarm.refuseWith = AlarmError::NoPermission;
    platform.wakeAlarm.refusalDetail = "/usr/bin/somnar-scheduler";
    EXPECT_EQ(sleepAndWake(SleepState::Standby), SleepAttempt::AlarmRefused);
    EXPECT_EQ(platform.log, EventLog{"alarm refused"});
    EXPECT_EQ(lastMessage(),
              "Die Aufwachzeit konnte nicht gestellt werden. Das Programm darf keinen "
              "Weckzeitgeber stellen (es fehlt die Berechtigung CAP_WAKE_ALARM). Als root "
              "freischalten mit: setcap cap_wake_alarm+ep /usr/bin/somnar-scheduler\r\nDer "
              "Rechner wird nicht in den Standbyzustand versetzt.\r\nWas diesem Rechner zum "
              "Wecken fehlt, zeigt: somnar --check");
    EXPECT_EQ(platform.journal.entries.back().second, lastMessage());
    expectSleepCommandsUsable();

    freeze();
    ui.wakeTime.day.setText("32");
    EXPECT_EQ(sleepAndWake(SleepState::Standby), SleepAttempt::AlarmRefused);
    EXPECT_TRUE(platform.log.empty());
    EXPECT_TRUE(lastMessage().starts_with("Die Aufwachzeit ist ungültig"));
    expectSleepCommandsUsable();

    EXPECT_FALSE(ui.renewedSleepTimer.enabled());
}

// Armed anew 30 s after going down when authorising took too long; unannounced wake-ups noted.
TEST_F(SleepingTest, AWakeUpTooCloseWhenTheMachineGoesDownIsMovedAndTold) {
    set(ui.wakeTime, "06.12.2026 14:01");
    const std::string late =
        "Verspätet aufgewacht: Die Anfrage wurde erst kurz vor oder nach "
        "der Aufwachzeit (06.12.2026 14:01:00) freigegeben";
    const std::string unannounced = "Die Energieverwaltung hat das Aufwachen nicht gemeldet";
    // The time taken to authorise, the new alarm's refusal, how the wake-up was noticed, the
    // events after "alarm armed|sleep hibernate|", the journal (the last line in the status).
    const std::tuple<std::chrono::seconds, AlarmError, WakeNotice, std::string, std::string>
        cases[] = {
            {30s, AlarmError::None, WakeNotice::Announced, "keep awake|alarm released|", ""},
            {31s, AlarmError::None, WakeNotice::SuspendSeen,
             "alarm released|alarm armed|keep awake|alarm released|notify",
             unannounced + "; die Uhr des Rechners zeigt, dass er geschlafen hat.|" + late +
                 ", deshalb wurde der Rechner 30 Sekunden nach dem Einschlafen geweckt.|"},
            {90s, AlarmError::NoPermission, WakeNotice::NoneInTime,
             "alarm released|alarm refused|keep awake|notify",
             unannounced +
                 ", und der Rechner hat offenbar nicht geschlafen; das Programm macht "
                 "nach der Wartezeit weiter.|" +
                 late +
                 ", und der Weckalarm konnte nicht neu gestellt werden. Dem Programm fehlt die "
                 "Berechtigung, den Weckalarm zu stellen.|"}};
    for (const auto& [authorising, rearm, notice, expectedEvents, expectedJournal] : cases) {
        platform.clock.set(2026, 12, 6, 14, 0, 0);
        platform.log.clear();
        platform.journal.entries.clear();
        platform.wakeAlarm.refuseWith = AlarmError::None;
        platform.power.result.wakeNotice = notice;
        platform.power.whileAuthorising = [&] {
            platform.clock.advance(authorising);
            platform.wakeAlarm.refuseWith = rearm;
        };
        EXPECT_EQ(sleepAndWake(SleepState::Hibernate), SleepAttempt::WokeUp);
        std::string events;
        std::string journal;
        for (const std::string& event : platform.log) {
            events += event.substr(0, event.rfind(" Somnar")) + "|";
        }
        for (const auto& entry : platform.journal.entries) {
            journal += entry.second + "|";
        }
        EXPECT_EQ(events, "alarm armed|sleep hibernate|" + expectedEvents +
                              (expectedJournal.empty() ? "" : "|"));
        EXPECT_EQ(journal, expectedJournal);
        EXPECT_TRUE(journal.ends_with(ui.statusLine.caption() + (journal.empty() ? "" : "|")));
        EXPECT_EQ(ui.statusLine.caption().empty(), journal.empty());
    }
    EXPECT_EQ(platform.wakeAlarm.armed.at(2).due, testing::utc(2026, 12, 6, 13, 1) + 1s);
}

TEST_F(SleepingTest, ATimedRequestStartsItsCountdownAndFreezesTheWindow) {
    wantWakeUp();
    platform.dialogs.answers = {MessageAnswer::Cancel};
    ui.timedSleepButtons[0].userClick();
    EXPECT_FALSE(ui.hibernateCountdown.enabled());
    expectSleepCommandsUsable();

    ui.optionsBox.setValue(1);
    ui.hibernateCountdown.setEnabled(true);
    ui.standbyPictures[2].userClick();  // the picture acts as the button beneath
    EXPECT_EQ(enabledOf({&ui.standbyCountdown, &ui.hibernateCountdown, &ui.optionsBox}), "100");
    EXPECT_EQ(sleepCommandsEnabled(), "000000");
    EXPECT_TRUE(ui.window.height() == 3600 && ui.optionsBox.value() == 0);
    EXPECT_TRUE(platform.log.empty());
}

TEST_F(SleepingTest, TheCountdownBlinksAndFiresFromTheSetMinuteOnOnce) {
    ui.timedSleepButtons[0].userClick();
    platform.clock.set(2026, 12, 6, 14, 29, 59);
    const bool blink = ui.statusLine.enabled();
    ui.hibernateCountdown.tick();
    EXPECT_EQ(ui.statusLine.caption(), "Countdown für Ruhezustand aktiv...");
    EXPECT_NE(ui.statusLine.enabled(), blink);
    EXPECT_EQ(enabledOf({&ui.resetButton, &ui.countdownInfoButton, &ui.trayButton}), "111");
    for (auto [picker, text] :
         {std::pair{&ui.sleepTime.minute, "3O"}, {&ui.sleepTime.year, "26"}}) {
        const std::string before = picker->text();
        picker->setText(text);
        platform.clock.set(2026, 12, 6, 23, 0, 0);
        ui.hibernateCountdown.tick();
        EXPECT_EQ(ui.statusLine.caption(), "Angehalten: Ruhezeit ungültig");
        picker->setText(before);
    }
    EXPECT_TRUE(platform.log.empty());

    platform.clock.set(2026, 12, 7, 8, 5, 0);  // the set minute went by without a tick
    platform.power.whileAsleep = [this] {
        EXPECT_EQ(ui.statusLine.caption(), "Countdown für Ruhezustand aktiv...");
    };
    ui.hibernateCountdown.tick();
    EXPECT_EQ(platform.log, EventLog{"sleep hibernate"});  // no wake-up wanted
    EXPECT_EQ(ui.statusLine.caption(), "");
    EXPECT_EQ(enabledOf({&ui.hibernateCountdown, &ui.optionsBox}), "01");
    EXPECT_EQ(sleepCommandsEnabled(), "000000");  // until "Reset"
}

TEST_F(SleepingTest, AtTheSetMinuteTheWakeUpChoiceDecidesAndARefusalEndsTheCountdown) {
    ui.timedSleepButtons[1].userClick();
    wantWakeUp();
    platform.wakeAlarm.refuseWith = AlarmError::NoAlarmClock;
    int nestedTicks = 0;
    platform.dialogs.whileOpen = [&](const MessageBox&) {
        ++nestedTicks;
        ui.standbyCountdown.tick();  // the window system may tick while the box is open
    };
    platform.clock.set(2026, 12, 6, 14, 30, 1);
    ui.standbyCountdown.tick();
    EXPECT_EQ(nestedTicks, 1);
    EXPECT_EQ(platform.log, EventLog{"alarm refused"});
    EXPECT_FALSE(ui.standbyCountdown.enabled());
    EXPECT_EQ(ui.statusLine.caption(), "");

    ui.wakeChoice[1].setValue(true);
    platform.power.result = {SleepOutcome::NotAuthorized, ""};
    ui.timedSleepButtons[0].userClick();
    ui.hibernateCountdown.tick();
    EXPECT_EQ(lastMessage(), sleepRefusalText(SleepState::Hibernate, platform.power.result));
    expectSleepCommandsUsable();
}

}  // namespace
}  // namespace somnar
