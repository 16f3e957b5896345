// Checking a sleep request: the confirmation text, the past wake-up, bad picker texts.

#include <gtest/gtest.h>

#include "unit/form_fixture.h"

namespace somnar {
namespace {

using testing::FormTest;

struct VerifyTest : FormTest {
    void SetUp() override {
        FormTest::SetUp();
        platform.clock.set(2026, 12, 6, 20, 0, 0);
        setSleepTime("06", "12", "2026", "23", "30");
        setWakeUp("07", "12", "2026", "06", "30");
    }
};

TEST_F(VerifyTest, TimedHibernationWithWakeUpGivesTheSingleLineOfTheExample) {
    wantWakeUp();
    EXPECT_TRUE(form.confirmRequest({SleepState::Hibernate, SleepMoment::AtSleepTime}));
    EXPECT_EQ(form.sleeper.confirmationText(),
              "Der Rechner wird am Sonntag, 06.12.2026 23:30 in den Ruhezustand versetzt. Er wird "
              "am Montag, 07.12.2026 06:30 wieder aus dem Ruhezustand erweckt.");
    EXPECT_TRUE(form.sleeper.confirmed());
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    const MessageBox& box = platform.dialogs.shown[0];
    EXPECT_EQ(box.text, form.sleeper.confirmationText());
    EXPECT_EQ(box.title, "somnar-scheduler");
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(box.icon, MessageIcon::Information);
    EXPECT_EQ(form.clockLine.caption(), "06.12.2026 20:00:00");
}

TEST_F(VerifyTest, TimedStandbyWithoutWakeUpSaysItWillNotWake) {
    EXPECT_TRUE(form.confirmRequest({SleepState::Standby, SleepMoment::AtSleepTime}));
    EXPECT_EQ(form.sleeper.confirmationText(),
              "Der Rechner wird am Sonntag, 06.12.2026 23:30 in den Standbyzustand versetzt. Der "
              "Rechner wird nicht wieder aus dem Standbyzustand erweckt.");
}

TEST_F(VerifyTest, ImmediateRequestSaysNow) {
    wantWakeUp();
    form.confirmRequest({SleepState::Standby, SleepMoment::Now});
    EXPECT_EQ(form.sleeper.confirmationText(),
              "Der Rechner wird jetzt in den Standbyzustand versetzt. Er wird am Montag, "
              "07.12.2026 06:30 wieder aus dem Standbyzustand erweckt.");
}

TEST_F(VerifyTest, DialUpSentenceFollowsWithABlankAndFtpSentenceOnANewLine) {
    wantWakeUp();
    form.dialupName.setText("Arcor");
    form.ftpServer.setText("ftp.example.org");
    form.dialupBox.setValue(1);
    form.publishBox.setValue(1);
    form.confirmRequest({SleepState::Hibernate, SleepMoment::Now});
    EXPECT_EQ(form.sleeper.confirmationText(),
              "Der Rechner wird jetzt in den Ruhezustand versetzt. Er wird am Montag, 07.12.2026 "
              "06:30 wieder aus dem Ruhezustand erweckt. Danach wird eine Verbindung in das "
              "Internet hergestellt (Arcor).\r\nNachdem die Internetverbindung hergestellt ist, "
              "wir die vergebene IP-Adresse per FTP an den Server ftp.example.org geschickt "
              "(ip.html)");
}

TEST_F(VerifyTest, ProgramSentenceOnlyWithAPathAndGreyedBoxesCountAsClear) {
    wantWakeUp();
    form.programBox.setValue(1);
    form.programPath.setText("");
    form.publishBox.setValue(CheckBox::Grayed);
    form.confirmRequest({SleepState::Hibernate, SleepMoment::Now});
    EXPECT_EQ(form.sleeper.confirmationText().find("\r\n"), std::string::npos);

    form.programPath.setText("/home/anna/Aufwachen-Ruhe/start.sh");
    form.confirmRequest({SleepState::Hibernate, SleepMoment::Now});
    EXPECT_EQ(form.sleeper.confirmationText().substr(form.sleeper.confirmationText().find("\r\n")),
              "\r\nNach dem Aufwachen wird das Programm/Batchdatei "
              "/home/anna/Aufwachen-Ruhe/start.sh gestartet.");
}

TEST_F(VerifyTest, RenewedSleepNamesTheChosenStateWithTrimmedMinutes) {
    wantWakeUp();
    form.renewedSleepBox.setValue(1);
    form.renewedSleepState[1].setValue(true);
    form.confirmRequest({SleepState::Hibernate, SleepMoment::Now});
    EXPECT_EQ(form.sleeper.confirmationText().substr(form.sleeper.confirmationText().find("\r\n")),
              "\r\nNach dem Aufwachen wird nach 20 Minuten wieder der Standbyzustand "
              "eingeleitet.");

    form.renewedSleepState[0].setValue(true);
    form.renewedSleepSpan.setText("   5 ");
    form.confirmRequest({SleepState::Standby, SleepMoment::Now});
    EXPECT_EQ(form.sleeper.confirmationText().substr(form.sleeper.confirmationText().find("\r\n")),
              "\r\nNach dem Aufwachen wird nach 5 Minuten wieder der Ruhezustand eingeleitet.");
}

TEST_F(VerifyTest, TextOfAllPiecesInTheirOrder) {
    wantWakeUp();
    form.dialupName.setText("Mobil");
    form.ftpServer.setText("srv");
    form.programPath.setText("/opt/x");
    for (CheckBox* box :
         {&form.dialupBox, &form.publishBox, &form.programBox, &form.renewedSleepBox}) {
        box->setValue(1);
    }
    form.confirmRequest({SleepState::Standby, SleepMoment::AtSleepTime});
    const std::string& text = form.sleeper.confirmationText();
    const auto dialUp = text.find("(Mobil).");
    const auto ftp = text.find("Server srv geschickt");
    const auto program = text.find("Batchdatei /opt/x");
    const auto renewed = text.find("nach 20 Minuten");
    ASSERT_NE(renewed, std::string::npos);
    EXPECT_LT(dialUp, ftp);
    EXPECT_LT(ftp, program);
    EXPECT_LT(program, renewed);
}

TEST_F(VerifyTest, CancelInTheConfirmationReturnsFalseButKeepsTheNewText) {
    wantWakeUp();
    platform.dialogs.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(form.confirmRequest({SleepState::Hibernate, SleepMoment::AtSleepTime}));
    EXPECT_FALSE(form.sleeper.confirmed());
    EXPECT_NE(form.sleeper.confirmationText().find("Ruhezustand"), std::string::npos);
}

struct PastWakeUpTest : FormTest {
    void SetUp() override {
        FormTest::SetUp();
        wantWakeUp();
        setSleepTime("06", "12", "2026", "23", "30");
    }
    const MessageBox& warning() const { return platform.dialogs.shown.at(0); }
};

TEST_F(PastWakeUpTest, HalfAMinuteLateMovesTheWakeUpToTomorrowWithoutLeadingZero) {
    platform.clock.set(2026, 12, 6, 10, 0, 30);
    setWakeUp("06", "12", "2026", "10", "00");
    EXPECT_TRUE(form.confirmRequest({SleepState::Hibernate, SleepMoment::Now}));
    ASSERT_EQ(platform.dialogs.shown.size(), 2u);
    EXPECT_EQ(warning().text,
              "Die aktuelle Zeit ist grösser als die eingestellte Aufwachzeit. Deshalb wurde der "
              "Tag um eins erhöht!");
    EXPECT_EQ(warning().title, "Somnar-Scheduler");
    EXPECT_EQ(warning().buttons, MessageButtons::OkCancel);
    EXPECT_EQ(warning().icon, MessageIcon::Warning);
    EXPECT_EQ(form.wakeTime.day.text(), "7");
    EXPECT_EQ(form.wakeTime.month.text(), "12");
    EXPECT_NE(form.sleeper.confirmationText().find("Er wird am Montag, 7.12.2026 10:00 wieder"),
              std::string::npos);
}

TEST_F(PastWakeUpTest, ExactlyOnTheMinuteIsNotPast) {
    platform.clock.set(2026, 12, 6, 10, 0, 0);
    setWakeUp("06", "12", "2026", "10", "00");
    form.confirmRequest({SleepState::Hibernate, SleepMoment::Now});
    EXPECT_EQ(platform.dialogs.shown.size(), 1u);  // only the confirmation
    EXPECT_EQ(form.wakeTime.day.text(), "06");
}

TEST_F(PastWakeUpTest, SameDayOfALaterMonthIsNotMoved) {
    platform.clock.set(2026, 12, 6, 10, 0, 0);
    setWakeUp("06", "01", "2027", "09", "00");
    form.confirmRequest({SleepState::Hibernate, SleepMoment::Now});
    EXPECT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(form.wakeTime.day.text(), "06");
    EXPECT_NE(form.sleeper.confirmationText().find("Mittwoch, 06.01.2027 09:00"),
              std::string::npos);
}

TEST_F(PastWakeUpTest, AnEarlierMonthMovesTheDateToTomorrow) {
    platform.clock.set(2026, 12, 6, 10, 0, 0);
    setWakeUp("20", "11", "2026", "12", "00");
    form.confirmRequest({SleepState::Hibernate, SleepMoment::Now});
    EXPECT_EQ(form.wakeTime.day.text(), "7");
    EXPECT_EQ(form.wakeTime.month.text(), "12");
    EXPECT_EQ(form.wakeTime.year.text(), "2026");
}

TEST_F(PastWakeUpTest, LastDayOfAMonthRollsToTheFirstOfTheNext) {
    platform.clock.set(2026, 11, 30, 10, 0, 30);
    setWakeUp("30", "11", "2026", "10", "00");
    form.confirmRequest({SleepState::Hibernate, SleepMoment::Now});
    EXPECT_EQ(form.wakeTime.day.text(), "1");
    EXPECT_EQ(form.wakeTime.month.text(), "12");
    EXPECT_EQ(form.wakeTime.year.text(), "2026");
    EXPECT_NE(form.sleeper.confirmationText().find("Dienstag, 1.12.2026 10:00"), std::string::npos);
}

TEST_F(PastWakeUpTest, NewYearsEveRollsToTheFirstOfJanuary) {
    platform.clock.set(2026, 12, 31, 23, 59, 1);
    setWakeUp("31", "12", "2026", "23", "59");
    form.confirmRequest({SleepState::Standby, SleepMoment::Now});
    EXPECT_EQ(form.wakeTime.day.text(), "1");
    EXPECT_EQ(form.wakeTime.month.text(), "01");
    EXPECT_EQ(form.wakeTime.year.text(), "2027");
    EXPECT_NE(form.sleeper.confirmationText().find("Freitag, 1.01.2027 23:59"), std::string::npos);
}

TEST_F(PastWakeUpTest, CancelRestoresThePickersAndKeepsTheEarlierAnswer) {
    platform.clock.set(2026, 12, 31, 10, 0, 30);
    setWakeUp("31", "12", "2027", "09", "00");
    form.confirmRequest({SleepState::Hibernate, SleepMoment::Now});  // a first, accepted request
    const std::string earlierText = form.sleeper.confirmationText();
    ASSERT_TRUE(form.sleeper.confirmed());

    setWakeUp("31", "12", "2026", "10", "00");
    platform.dialogs.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(form.confirmRequest({SleepState::Hibernate, SleepMoment::Now}));
    EXPECT_EQ(form.wakeTime.day.text(), "31");
    EXPECT_EQ(form.wakeTime.month.text(), "12");
    EXPECT_EQ(form.wakeTime.year.text(), "2026");
    EXPECT_EQ(form.sleeper.confirmationText(), earlierText);
    EXPECT_TRUE(form.sleeper.confirmed());
}

// With "nein" the disabled wake-up pickers are not looked at.
TEST_F(PastWakeUpTest, NoWarningWithoutAWakeUpWanted) {
    form.wakeChoice[1].setValue(true);
    platform.clock.set(2026, 12, 6, 10, 0, 30);
    setWakeUp("06", "12", "2026", "10", "00");
    setSleepTime("06", "12", "2026", "11", "00");
    EXPECT_TRUE(form.confirmRequest({SleepState::Standby, SleepMoment::AtSleepTime}));
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(lastMessage().rfind("Der Rechner wird am", 0), 0u);
    EXPECT_EQ(form.wakeTime.day.text(), "06");
}

struct BadPickerTest : FormTest {
    void SetUp() override {
        FormTest::SetUp();
        setSleepTime("06", "12", "2026", "23", "30");
        setWakeUp("07", "12", "2026", "06", "30");
    }
};

TEST_F(BadPickerTest, WakeUpTextsThatGiveNoDateAreRefusedWithAMessageNamingTheField) {
    wantWakeUp();
    for (const auto& [day, month] : {std::pair{"3x", "12"},
                                     {"31", "11"},
                                     {"29", "02"},
                                     {"", "12"},
                                     {"-1", "12"},
                                     {"07", "13"}}) {
        platform.dialogs.shown.clear();
        setWakeUp(day, month, "2027", "06", "30");
        EXPECT_FALSE(form.confirmRequest({SleepState::Hibernate, SleepMoment::Now}))
            << day << "." << month;
        ASSERT_EQ(platform.dialogs.shown.size(), 1u);
        EXPECT_EQ(lastMessage().rfind("Die Aufwachzeit ist ungültig", 0), 0u);
        EXPECT_EQ(platform.dialogs.shown[0].icon, MessageIcon::Warning);
    }
    setWakeUp("29", "02", "2028", " 6", "30");  // a leap year, a blank before the hour
    EXPECT_TRUE(form.confirmRequest({SleepState::Hibernate, SleepMoment::Now}));
}

TEST_F(BadPickerTest, SleepTimeTextsAreCheckedForTimedRequestsOnly) {
    setSleepTime("06", "12", "2026", "24", "00");
    EXPECT_FALSE(form.confirmRequest({SleepState::Standby, SleepMoment::AtSleepTime}));
    EXPECT_EQ(lastMessage().rfind("Die Zeit für den Ruhe- oder Standbyzustand ist ungültig", 0),
              0u);
    wantWakeUp();
    platform.dialogs.shown.clear();
    EXPECT_TRUE(form.confirmRequest({SleepState::Standby, SleepMoment::Now}));
}

// Present time 06.12.2026 23:10:30; sleep and wake-up as given.
TEST_F(BadPickerTest, TimesThatCannotComeAreRefused) {
    const std::string gone =
        "Die Zeit für den Ruhe- oder Standbyzustand liegt in der Vergangenheit. Bitte eine "
        "spätere Zeit einstellen.";
    const std::string notAfter =
        "Die Aufwachzeit muss nach der Zeit für den Ruhe- oder Standbyzustand liegen.";
    const std::string invalid = "Die Zeit für den Ruhe- oder Standbyzustand ist ungültig";
    struct Case {
        const char* sleepYear;
        const char* sleepTime;  // hour, minute
        const char* wakeDay;
        const char* wakeTime;
        std::string refusal;  // empty: confirmed
    };
    const Case cases[] = {
        {"2026", "2309", "07", "0630", gone},     {"2026", "2310", "07", "0630", ""},
        {"2026", "2330", "06", "2330", notAfter}, {"2026", "2330", "06", "2320", notAfter},
        {"2026", "2330", "06", "2331", ""},       {"26", "2330", "07", "0630", invalid},
        {"02026", "2330", "07", "0630", invalid},
    };
    wantWakeUp();
    platform.clock.set(2026, 12, 6, 23, 10, 30);
    for (const Case& c : cases) {
        platform.dialogs.shown.clear();
        const std::string sleep = c.sleepTime;
        const std::string wake = c.wakeTime;
        setSleepTime("06", "12", c.sleepYear, sleep.substr(0, 2), sleep.substr(2));
        setWakeUp(c.wakeDay, "12", "2026", wake.substr(0, 2), wake.substr(2));
        EXPECT_EQ(form.confirmRequest({SleepState::Hibernate, SleepMoment::AtSleepTime}),
                  c.refusal.empty())
            << sleep << wake;
        EXPECT_EQ(lastMessage().rfind(c.refusal.empty() ? "Der Rechner wird am" : c.refusal, 0), 0u)
            << sleep << " " << wake;
    }
}

TEST_F(BadPickerTest, WakeUpTextsDoNotMatterWithoutAWakeUp) {
    setWakeUp("xx", "12", "2026", "06", "30");
    EXPECT_TRUE(form.confirmRequest({SleepState::Standby, SleepMoment::AtSleepTime}));
    EXPECT_EQ(platform.dialogs.shown.size(), 1u);
}

TEST_F(BadPickerTest, RenewedSleepMinutesMustBeOneTo1440) {
    form.renewedSleepBox.setValue(1);
    for (const char* minutes : {"abc", "   0", "1441", ""}) {
        form.renewedSleepSpan.setText(minutes);
        EXPECT_FALSE(form.confirmRequest({SleepState::Standby, SleepMoment::AtSleepTime}))
            << minutes;
        EXPECT_EQ(lastMessage(),
                  "Die Minuten bis zum erneuten Ruhe- oder Standbyzustand müssen eine ganze Zahl "
                  "von 1 bis 1440 sein.");
    }
    form.renewedSleepSpan.setText("1440");
    EXPECT_TRUE(form.confirmRequest({SleepState::Standby, SleepMoment::AtSleepTime}));
    form.renewedSleepBox.setValue(0);
    form.renewedSleepSpan.setText("abc");
    EXPECT_TRUE(form.confirmRequest({SleepState::Standby, SleepMoment::AtSleepTime}));
}

}  // namespace
}  // namespace somnar
