// Checking a sleep request: the confirmation text, the past wake-up, texts and times that
// cannot be slept or woken by.

#include <gtest/gtest.h>

#include "schedule/confirmation_text.h"
#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

const std::string kSleepsNow = "Der Rechner wird jetzt in den Standbyzustand versetzt.";

AfterWakePlan plan(bool everything, std::optional<SleepState> renewed, const char* minutes) {
    AfterWakePlan plan;
    if (everything) {
        plan.dialup = DialupLogin{"Arcor", "u", "p"};
        plan.publishAddress = true;
        plan.ftpServer = "ftp.example.org";
        plan.program = "/opt/x";
    }
    if (minutes != nullptr) {
        plan.renewedSleep = RenewedSleepPlan{renewed, minutes};
    }
    return plan;
}

// Standby at once; the time to sleep at is the window's, in its tests.
TEST(ConfirmationTextTest, SaysWhatWillHappenInItsOrder) {
    const std::string woken = kSleepsNow + " Er wird am Mo wieder aus dem Standbyzustand erweckt.";
    const std::tuple<std::optional<std::string>, AfterWakePlan, std::string> cases[] = {
        {std::nullopt,
         {},
         kSleepsNow + " Der Rechner wird nicht wieder aus dem Standbyzustand erweckt."},
        {"Mo", plan(true, SleepState::Hibernate, "5"),
         woken + " Danach wird eine Verbindung in das Internet hergestellt (Arcor).\r\nNachdem "
                 "die Internetverbindung hergestellt ist, wir die vergebene IP-Adresse per FTP an "
                 "den Server ftp.example.org geschickt (ip.html)\r\nNach dem Aufwachen wird das "
                 "Programm/Batchdatei /opt/x gestartet.\r\nNach dem Aufwachen wird nach 5 "
                 "Minuten wieder der Ruhezustand eingeleitet."},
        {"Mo", plan(false, std::nullopt, "5"), woken},
        {"Mo", plan(false, SleepState::Standby, "20"),
         woken + "\r\nNach dem Aufwachen wird nach 20 Minuten wieder der Standbyzustand "
                 "eingeleitet."}};
    for (const auto& [wakeUp, afterWaking, text] : cases) {
        EXPECT_EQ(confirmationText(SleepState::Standby, std::nullopt, wakeUp, afterWaking), text);
    }
}

struct VerifyTest : FormTest {
    void SetUp() override {
        FormTest::SetUp();
        platform.clock.set(2026, 12, 6, 20, 0, 0);
        set(ui.sleepTime, "06.12.2026 23:30");
        set(ui.wakeTime, "07.12.2026 06:30");
        wantWakeUp();
    }
};

TEST_F(VerifyTest, TheBoxShowsTheTextOfThePickersAndTheTickedOptions) {
    ui.dialupBox.setValue(1);
    ui.dialupName.setText("Mobil");
    ui.programBox.setValue(1);
    ui.programPath.setText("");  // without a path: no program sentence
    ui.publishBox.setValue(CheckBox::Grayed);
    ui.renewedSleepBox.setValue(1);
    ui.renewedSleepState[1].setValue(true);
    ui.renewedSleepSpan.setText("   5 ");
    EXPECT_TRUE(confirmRequest({SleepState::Hibernate, SleepMoment::AtSleepTime}));
    const std::string text =
        "Der Rechner wird am Sonntag, 06.12.2026 23:30 in den Ruhezustand versetzt. Er wird am "
        "Montag, 07.12.2026 06:30 wieder aus dem Ruhezustand erweckt. Danach wird eine "
        "Verbindung in das Internet hergestellt (Mobil).\r\nNach dem Aufwachen wird nach 5 "
        "Minuten wieder der Standbyzustand eingeleitet.";
    EXPECT_EQ(
        platform.dialogs.shown.at(0),
        (MessageBox{text, "somnar-scheduler", MessageButtons::OkCancel, MessageIcon::Information}));
    EXPECT_EQ(schedule().confirmationText(), text);
    EXPECT_TRUE(schedule().confirmed());
    EXPECT_EQ(ui.clockLine.caption(), "06.12.2026 20:00:00");

    platform.dialogs.answers = {MessageAnswer::Cancel};
    ui.publishBox.setValue(1);
    ui.ftpServer.setText("ftp.example.org");
    EXPECT_FALSE(confirmRequest({SleepState::Standby, SleepMoment::Now}));
    EXPECT_FALSE(schedule().confirmed());
    const std::string& cancelled = schedule().confirmationText();
    EXPECT_TRUE(cancelled.starts_with("Der Rechner wird jetzt") &&
                cancelled.find("Server ftp.example.org geschickt") != std::string::npos);
}

TEST_F(VerifyTest, APastWakeUpIsMovedInThePickersAndPutBackOnCancel) {
    platform.clock.set(2026, 12, 31, 23, 59, 1);
    set(ui.wakeTime, "19.11.2026 23:59");  // weeks ago, a Thursday: the day after now
    EXPECT_TRUE(confirmRequest({SleepState::Standby, SleepMoment::Now}));
    ASSERT_EQ(platform.dialogs.shown.size(), 2u);
    EXPECT_EQ(platform.dialogs.shown[0],
              (MessageBox{"Die aktuelle Zeit ist grösser als die eingestellte Aufwachzeit. "
                          "Deshalb wurde der Tag um eins erhöht!",
                          "Somnar-Scheduler", MessageButtons::OkCancel, MessageIcon::Warning}));
    EXPECT_EQ(shown(ui.wakeTime), "1.01.2027 23:59");
    EXPECT_NE(lastMessage().find("Er wird am Freitag, 1.01.2027 23:59 wieder"), std::string::npos);
    const std::string accepted = schedule().confirmationText();

    platform.clock.set(2026, 12, 6, 10, 0, 0);
    set(ui.wakeTime, "30.11.2025 09:59");  // Cancel: today's day as a plain number
    platform.dialogs.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(confirmRequest({SleepState::Standby, SleepMoment::Now}));
    EXPECT_EQ(shown(ui.wakeTime), "6.11.2025 09:59");
    EXPECT_EQ(schedule().confirmationText(), accepted);
    EXPECT_TRUE(schedule().confirmed());
}

TEST_F(VerifyTest, TextsAndTimesThatCannotBeSleptOrWokenByAreRefused) {
    const std::string gone =
        "Die Zeit für den Ruhe- oder Standbyzustand liegt in der "
        "Vergangenheit. Bitte eine spätere Zeit einstellen.";
    const std::string notAfter =
        "Die Aufwachzeit muss nach der Zeit für den Ruhe- oder Standbyzustand liegen.";
    const std::string badSleep = "Die Zeit für den Ruhe- oder Standbyzustand ist ungültig";
    const std::string badWake = "Die Aufwachzeit ist ungültig";
    const std::string minutes =
        "Die Minuten bis zum erneuten Ruhe- oder Standbyzustand müssen "
        "eine ganze Zahl von 1 bis 1440 sein.";
    constexpr auto timed = SleepMoment::AtSleepTime;
    constexpr auto now = SleepMoment::Now;
    const struct {
        SleepMoment moment;
        bool wake;
        const char *sleepAt, *wakeUp, *renewedMinutes;  // renewedMinutes: "" for none
        std::string refusal;                            // empty: confirmed
    } cases[] = {
        {timed, true, "06.12.2026 23:09", "07.12.2026 06:30", "", gone},
        {timed, true, "06.12.2026 23:10", "07.12.2026 06:30", "", ""},
        {timed, true, "06.12.2026 23:30", "06.12.2026 23:30", "", notAfter},
        {timed, true, "06.12.2026 23:30", "06.12.2026 23:31", "", ""},
        {timed, true, "06.12.26 23:30", "07.12.2026 06:30", "", badSleep},
        {timed, true, "06.12.02026 23:30", "07.12.2026 06:30", "", badSleep},
        {timed, true, "06.12.2026 24:00", "07.12.2026 06:30", "", badSleep},
        {timed, true, "06.12.2026 23:60", "07.12.2026 06:30", "", badSleep},
        {now, true, "06.12.2026 24:00", "07.12.2026 06:30", "", ""},
        {now, true, "", "31.11.2027 06:30", "", badWake},
        {now, true, "", "29.02.2027 06:30", "", badWake},
        {now, true, "", "3x.12.2027 06:30", "", badWake},
        {now, true, "", "-1.12.2027 06:30", "", badWake},
        {now, true, "", "07.13.2027 06:30", "", badWake},
        {now, true, "", "29.02.2028  6:30", "", ""},
        {now, false, "", "xx.12.2026 06:30", "", ""},
        {now, true, "", "07.12.2026 06:30", "abc", minutes},
        {now, true, "", "07.12.2026 06:30", "   0", minutes},
        {now, true, "", "07.12.2026 06:30", "1441", minutes},
        {now, true, "", "07.12.2026 06:30", "1440", ""},
    };
    for (const auto& c : cases) {
        platform.clock.set(2026, 12, 6, 23, 10, 30);
        platform.dialogs.shown.clear();
        set(ui.sleepTime, c.sleepAt);
        set(ui.wakeTime, c.wakeUp);
        ui.wakeChoice[c.wake ? 0 : 1].setValue(true);
        ui.renewedSleepBox.setValue(*c.renewedMinutes != 0);
        ui.renewedSleepSpan.setText(*c.renewedMinutes ? c.renewedMinutes : "abc");
        const std::string what = std::string(c.sleepAt) + "|" + c.wakeUp + "|" + c.renewedMinutes;
        EXPECT_EQ(confirmRequest({SleepState::Hibernate, c.moment}), c.refusal.empty()) << what;
        ASSERT_EQ(platform.dialogs.shown.size(), 1u) << what;
        EXPECT_EQ(lastMessage().rfind(c.refusal.empty() ? "Der Rechner wird" : c.refusal, 0), 0u)
            << what;
        EXPECT_EQ(platform.dialogs.shown[0].icon,
                  c.refusal.empty() ? MessageIcon::Information : MessageIcon::Warning);
    }
}

}  // namespace
}  // namespace somnar
