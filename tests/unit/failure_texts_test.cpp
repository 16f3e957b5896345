// The sentences the user reads for what a backend reported: every kind of failure, and
// where its detail (a name, a file, the system's own words) goes into the sentence.

#include <gtest/gtest.h>

#include <string>

#include "platform/linux/check/linux_failure_texts.h"

namespace somnar {
namespace {

constexpr const char* kClock = "/sys/class/rtc/rtc0/wakealarm";

TEST(FailureTextTest, EveryKindOfFailureReadsExactlyAsTheUserSeesIt) {
    const std::pair<DialResult, std::string> dials[] = {
        {{DialError::NothingSelected, "", ""}, "Es ist keine DFÜ-Verbindung ausgewählt."},
        {{DialError::UnknownName, "Arcor", ""},
         "Die DFÜ-Verbindung \"Arcor\" gibt es auf diesem Rechner nicht."},
        {{DialError::NameNotDialable, "Mein Provider", ""},
         "Die DFÜ-Verbindung \"Mein Provider\" kann pon nicht wählen (Leerzeichen, *, ? oder [ im "
         "Namen oder \"-\" am Anfang)."},
        {{DialError::UnusableCredentials, "", ""},
         "Benutzername oder Kennwort enthält einen Zeilenumbruch oder ein Nullzeichen (das kann "
         "der Einwahldienst nicht übernehmen)."},
        {{DialError::CredentialsNotHandedOver, "", ""},
         "Benutzername und Kennwort konnten nicht an den Einwahldienst übergeben werden."},
        {{DialError::PppMissing, "", ""},
         "pon konnte nicht gestartet werden (ist das Paket ppp installiert?)."},
        {{DialError::NetworkManagerMissing, "", ""},
         "nmcli konnte nicht gestartet werden (ist NetworkManager installiert?)."},
        {{DialError::Failed, "", ""}, "Die DFÜ-Verbindung konnte nicht gestartet werden."},
        {{DialError::Failed, "Arcor", "Die Leitung ist besetzt. (676)"},
         "Die DFÜ-Verbindung \"Arcor\" konnte nicht gestartet werden: Die Leitung ist besetzt. "
         "(676)"}};
    for (const auto& [result, text] : dials) {
        EXPECT_EQ(LinuxFailureTexts{}.dialFailure(result), text);
    }
    const std::pair<StartResult, std::string> starts[] = {
        {{StartError::NoProgram, "", ""}, "Es ist kein Programm angegeben."},
        {{StartError::NeedsShell, "", ""},
         "Die Befehlszeile enthält Zeichen, die nur eine Shell versteht (| & ; < > ( ) { } oder "
         "$( )); solche Befehle so angeben: /bin/sh -c '...'"},
        {{StartError::Unreadable, "/bin/sh -c 'echo", ""},
         "Die Befehlszeile lässt sich nicht lesen (fehlt ein Anführungszeichen?): /bin/sh -c "
         "'echo"},
        {{StartError::NotFound, "kein-programm", ""},
         "Das Programm kein-programm wurde nicht gefunden."},
        {{StartError::NoSuchFile, "/nirgends/da.sh", ""},
         "Die Datei /nirgends/da.sh gibt es nicht."},
        {{StartError::NotExecutable, "/home/anna/notizen.txt", ""},
         "/home/anna/notizen.txt ist nicht ausführbar."},
        {{StartError::Failed, "/home/anna/kaputt", ""},
         "Das Programm /home/anna/kaputt konnte nicht gestartet werden."}};
    for (const auto& [result, text] : starts) {
        EXPECT_EQ(LinuxFailureTexts{}.startFailure(result), text);
    }
    // The standby alarm is the kernel's timer, the hibernation alarm the real-time clock's.
    const std::tuple<SleepState, AlarmFailure, std::string> alarms[] = {
        {SleepState::Standby, {AlarmError::NotInFuture, "", ""}, "Die Weckzeit ist schon vorbei."},
        {SleepState::Hibernate,
         {AlarmError::NotInFuture, kClock, ""},
         "Die Weckzeit ist schon vorbei."},
        {SleepState::Standby,
         {AlarmError::NoPermission, "/usr/bin/somnar-scheduler", ""},
         "Das Programm darf keinen Weckzeitgeber stellen (es fehlt die Berechtigung "
         "CAP_WAKE_ALARM). Als root freischalten mit: setcap cap_wake_alarm+ep "
         "/usr/bin/somnar-scheduler"},
        {SleepState::Standby,
         {AlarmError::NoAlarmClock, "", "No such device"},
         "Dieser Rechner hat keinen Weckzeitgeber, der ihn aus dem Standby wecken kann (No such "
         "device)."},
        {SleepState::Standby,
         {AlarmError::Failed, "", "Invalid argument"},
         "Der Weckzeitgeber ließ sich nicht stellen: Invalid argument."},
        {SleepState::Hibernate,
         {AlarmError::NoPermission, kClock, ""},
         "Das Programm darf die Weckzeit der Echtzeituhr nicht setzen: keine Schreibberechtigung "
         "für /sys/class/rtc/rtc0/wakealarm. Die Installation gibt den Benutzern des Programms "
         "Schreibrecht darauf (eine udev-Regel, die einer Gruppe Schreibrecht gibt). Prüfen mit: "
         "ls -l /sys/class/rtc/rtc0/wakealarm"},
        {SleepState::Hibernate,  // a timer that the system will not wake the machine for
         {AlarmError::NoAlarmClock, "", "722"},
         "Dieser Rechner hat keinen Weckzeitgeber, der ihn aus dem Ruhezustand wecken kann (722)."},
        {SleepState::Hibernate,
         {AlarmError::NoAlarmClock, kClock, ""},
         "Dieser Rechner hat keine Echtzeituhr, die ihn aus dem Ruhezustand wecken kann: "
         "/sys/class/rtc/rtc0/wakealarm gibt es nicht."},
        {SleepState::Hibernate,
         {AlarmError::Failed, kClock, "Device or resource busy"},
         "Die Weckzeit der Echtzeituhr ließ sich nicht setzen (/sys/class/rtc/rtc0/wakealarm): "
         "Device or resource busy."}};
    for (const auto& [state, failure, text] : alarms) {
        EXPECT_EQ(LinuxFailureTexts{}.alarmFailure(state, failure), text);
    }
}

}  // namespace
}  // namespace somnar
