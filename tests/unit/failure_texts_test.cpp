// The sentences the user reads for what a backend reported: every kind of failure, and
// where its detail (a name, a file, the system's own words) goes into the sentence.

#include <gtest/gtest.h>

#include <string>

#include "app/failure_texts.h"

namespace somnar {
namespace {

struct TextCase {
    const char* name;
    std::string text;
    std::string expected;
};

// Cases print as their names in test listings.
void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.name;
}

class FailureTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(FailureTextTest, ReadsExactlyAsTheUserSeesIt) {
    EXPECT_EQ(GetParam().text, GetParam().expected);
}

DialResult dial(DialError error, std::string detail = {}) {
    return {error, std::move(detail), {}};
}

StartResult start(StartError error, std::string detail = {}) {
    return {error, std::move(detail), {}};
}

std::string standby(AlarmError error, std::string detail, std::string systemError = {}) {
    return alarmFailureText(SleepState::Standby,
                            {error, std::move(detail), std::move(systemError)});
}

std::string hibernate(AlarmError error, std::string detail, std::string systemError = {}) {
    return alarmFailureText(SleepState::Hibernate,
                            {error, std::move(detail), std::move(systemError)});
}

constexpr const char* kClock = "/sys/class/rtc/rtc0/wakealarm";

INSTANTIATE_TEST_SUITE_P(
    Dial, FailureTextTest,
    ::testing::Values(
        TextCase{"Dialled", dialFailureText(dial(DialError::None)), ""},
        TextCase{"NothingSelected", dialFailureText(dial(DialError::NothingSelected)),
                 "Es ist keine DFÜ-Verbindung ausgewählt."},
        TextCase{"UnknownName", dialFailureText(dial(DialError::UnknownName, "Arcor")),
                 "Die DFÜ-Verbindung \"Arcor\" gibt es auf diesem Rechner nicht."},
        TextCase{"NameNotDialable",
                 dialFailureText(dial(DialError::NameNotDialable, "Mein Provider")),
                 "Die DFÜ-Verbindung \"Mein Provider\" kann pon nicht wählen (Leerzeichen, *, ? "
                 "oder [ im Namen oder \"-\" am Anfang)."},
        TextCase{"UnusableCredentials", dialFailureText(dial(DialError::UnusableCredentials)),
                 "Benutzername oder Kennwort enthält einen Zeilenumbruch oder ein Nullzeichen "
                 "(das kann pppd nicht übernehmen)."},
        TextCase{"CredentialsNotHandedOver",
                 dialFailureText(dial(DialError::CredentialsNotHandedOver)),
                 "Benutzername und Kennwort konnten nicht an pppd übergeben werden."},
        TextCase{"PppMissing", dialFailureText(dial(DialError::PppMissing)),
                 "pon konnte nicht gestartet werden (ist das Paket ppp installiert?)."},
        TextCase{"NetworkManagerMissing", dialFailureText(dial(DialError::NetworkManagerMissing)),
                 "nmcli konnte nicht gestartet werden (ist NetworkManager installiert?)."},
        TextCase{"Failed", dialFailureText(dial(DialError::Failed)),
                 "Die DFÜ-Verbindung konnte nicht gestartet werden."}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    ProgramStart, FailureTextTest,
    ::testing::Values(
        TextCase{"Started", startFailureText(start(StartError::None)), ""},
        TextCase{"NoProgram", startFailureText(start(StartError::NoProgram)),
                 "Es ist kein Programm angegeben."},
        TextCase{"NeedsShell", startFailureText(start(StartError::NeedsShell)),
                 "Die Befehlszeile enthält Zeichen, die nur eine Shell versteht (| & ; < > ( ) { "
                 "} oder $( )); solche Befehle so angeben: /bin/sh -c '...'"},
        TextCase{"Unreadable",
                 startFailureText(start(StartError::Unreadable, "/bin/sh -c 'echo hallo")),
                 "Die Befehlszeile lässt sich nicht lesen (fehlt ein Anführungszeichen?): /bin/sh "
                 "-c 'echo hallo"},
        TextCase{"NotFound", startFailureText(start(StartError::NotFound, "kein-programm")),
                 "Das Programm kein-programm wurde nicht gefunden."},
        TextCase{"NoSuchFile", startFailureText(start(StartError::NoSuchFile, "/nirgends/da.sh")),
                 "Die Datei /nirgends/da.sh gibt es nicht."},
        TextCase{"NotExecutable",
                 startFailureText(start(StartError::NotExecutable, "/home/anna/notizen.txt")),
                 "/home/anna/notizen.txt ist nicht ausführbar."},
        TextCase{"Failed", startFailureText(start(StartError::Failed, "/home/anna/kaputt")),
                 "Das Programm /home/anna/kaputt konnte nicht gestartet werden."}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    WakeAlarm, FailureTextTest,
    ::testing::Values(
        TextCase{"Armed", standby(AlarmError::None, ""), ""},
        TextCase{"StandbyNotInFuture", standby(AlarmError::NotInFuture, ""),
                 "Die Weckzeit ist schon vorbei."},
        TextCase{"HibernationNotInFuture", hibernate(AlarmError::NotInFuture, ""),
                 "Die Weckzeit ist schon vorbei."},
        TextCase{"StandbyNoPermission",
                 standby(AlarmError::NoPermission, "/usr/bin/somnar-scheduler"),
                 "Das Programm darf keinen Weckzeitgeber stellen (es fehlt die Berechtigung "
                 "CAP_WAKE_ALARM). Als root freischalten mit: setcap cap_wake_alarm+ep "
                 "/usr/bin/somnar-scheduler"},
        TextCase{"StandbyNoAlarmClock", standby(AlarmError::NoAlarmClock, "", "No such device"),
                 "Dieser Rechner hat keinen Weckzeitgeber, der ihn aus dem Standby wecken kann "
                 "(No such device)."},
        TextCase{"StandbyFailed", standby(AlarmError::Failed, "", "Invalid argument"),
                 "Der Weckzeitgeber ließ sich nicht stellen: Invalid argument."},
        TextCase{"HibernationNoPermission", hibernate(AlarmError::NoPermission, kClock),
                 "Das Programm darf die Weckzeit der Echtzeituhr nicht setzen: keine "
                 "Schreibberechtigung für /sys/class/rtc/rtc0/wakealarm. Die Installation gibt "
                 "den Benutzern des Programms Schreibrecht darauf (eine udev-Regel, die einer "
                 "Gruppe Schreibrecht gibt). Prüfen mit: ls -l /sys/class/rtc/rtc0/wakealarm"},
        TextCase{"HibernationNoAlarmClock", hibernate(AlarmError::NoAlarmClock, kClock),
                 "Dieser Rechner hat keine Echtzeituhr, die ihn aus dem Ruhezustand wecken kann: "
                 "/sys/class/rtc/rtc0/wakealarm gibt es nicht."},
        TextCase{"HibernationFailed",
                 hibernate(AlarmError::Failed, kClock, "Device or resource busy"),
                 "Die Weckzeit der Echtzeituhr ließ sich nicht setzen "
                 "(/sys/class/rtc/rtc0/wakealarm): Device or resource busy."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace somnar
