// The pre-flight check, the test wake-up and the command line.

#include <gtest/gtest.h>

#include <sstream>

#include "app/command_line.h"
#include "fakes/fake_platform.h"
#include "platform/linux/check/linux_machine_check.h"
#include "schedule/test_wake.h"

namespace somnar {
namespace {

struct CheckSetUp {
    testing::FakePlatform platform;
    testing::FakeSystemFacts facts;
    CheckServices services{
        platform.power,  platform.wakeAlarm, facts,          platform.settings,
        platform.dialer, platform.ftp,       platform.clock, "/usr/local/bin/somnar-scheduler"};

    // The line of the item whose name starts so, with its fix line if any.
    std::string line(const std::vector<CheckItem>& items, const std::string& name) {
        for (const CheckItem& item : items) {
            if (item.name.rfind(name, 0) == 0) {
                return checkReport({item});
            }
        }
        return "no item " + name;
    }
};

struct CheckTest : ::testing::Test, CheckSetUp {};

TEST_F(CheckTest, AMachineThatCanWakeItselfPassesWithOneLineAnItem) {
    platform.settings.store("Verbindung", "Name", "provider");
    const auto items = checkMachine(services, false);
    EXPECT_EQ(checkReport(items),
              "systemd-logind erreichbar: ok\n"
              "Standby möglich (CanSuspend): ok (yes)\n"
              "Wecken aus dem Standby (Weckalarm des Kernels): ok\n"
              "Ruhezustand möglich (CanHibernate): ok (yes)\n"
              "Wecken aus dem Ruhezustand (Weckalarm der Echtzeituhr): ok (Uhr läuft in UTC)\n"
              "Fortsetzen nach dem Ruhezustand (resume, Swap): ok (resume 254:16, Swap 2,0 GiB "
              "für 1,0 GiB belegten Speicher)\n"
              "DFÜ-Verbindung: ok (pppd-Peer „provider“)\n");
    EXPECT_EQ(checkExitStatus(items), 0);
    EXPECT_EQ(platform.wakeAlarm.released, 1);  // armed a year ahead, taken back at once
    EXPECT_EQ(platform.wakeAlarm.armed.at(0).due,
              testing::utc(2026, 12, 6, 9, 0) + std::chrono::days(365));
}

// Each missing piece: its line, its fix, and the exit status 1.
TEST_F(CheckTest, EachMissingPieceIsNamedWithItsFix) {
    struct Case {
        std::function<void(CheckSetUp&)> breakIt;
        std::string item;
        std::string expected;
    };
    const Case cases[] = {
        {[](CheckSetUp& t) { t.platform.power.unreachable = ""; }, "systemd-logind",
         "systemd-logind erreichbar: fehlt (keine Antwort auf dem Systembus)\n    Abhilfe: "
         "systemd-logind und der Systembus müssen laufen: systemctl status systemd-logind\n"},
        {[](CheckSetUp& t) {
             t.platform.wakeAlarm.refuseWith = AlarmError::NoPermission;
             t.platform.wakeAlarm.refusalDetail = "/usr/local/bin/somnar-scheduler";
         },
         "Wecken aus dem Standby",
         "Wecken aus dem Standby (Weckalarm des Kernels): fehlt (Das Programm darf keinen "
         "Weckzeitgeber stellen (es fehlt die Berechtigung CAP_WAKE_ALARM). Als root freischalten "
         "mit: setcap cap_wake_alarm+ep /usr/local/bin/somnar-scheduler)\n    Abhilfe: sudo "
         "setcap cap_wake_alarm+ep /usr/local/bin/somnar-scheduler\n"},
        {[](CheckSetUp& t) { t.platform.power.answers[SleepState::Hibernate] = "na"; },
         "Ruhezustand möglich",
         "Ruhezustand möglich (CanHibernate): fehlt (na)\n    Abhilfe: Ruhezustand braucht Swap "
         "mit resume= (siehe unten) und darf in /etc/systemd/sleep.conf nicht abgeschaltet "
         "sein\n"},
        {[](CheckSetUp& t) { t.facts.alarmWritable = false; }, "Wecken aus dem Ruhezustand",
         "Wecken aus dem Ruhezustand (Weckalarm der Echtzeituhr): fehlt "
         "(/sys/class/rtc/rtc0/wakealarm ist nicht beschreibbar)\n    Abhilfe: das Paket "
         "somnar-scheduler installieren (oder sudo cmake --install build: udev-Regel für die "
         "Gruppe somnar-wake), dann sudo adduser $USER somnar-wake und neu anmelden\n"},
        {[](CheckSetUp& t) { t.facts.alarmExists = false; }, "Wecken aus dem Ruhezustand",
         "Wecken aus dem Ruhezustand (Weckalarm der Echtzeituhr): fehlt "
         "(/sys/class/rtc/rtc0/wakealarm fehlt)\n    Abhilfe: ohne Echtzeituhr mit Weckalarm "
         "kann dieser Rechner nicht aus dem Ruhezustand geweckt werden\n"},
        {[](CheckSetUp& t) { t.facts.resume = ""; }, "Fortsetzen",
         "Fortsetzen nach dem Ruhezustand (resume, Swap): fehlt (resume keins, Swap 2,0 GiB für "
         "1,0 GiB belegten Speicher)\n    Abhilfe: resume=<Swap-Gerät> in die "
         "Kernel-Befehlszeile und RESUME= in /etc/initramfs-tools/conf.d/resume eintragen, dann "
         "sudo update-initramfs -u\n"},
        {[](CheckSetUp& t) { t.facts.swap = 512ull << 20; }, "Fortsetzen",
         "Fortsetzen nach dem Ruhezustand (resume, Swap): fehlt (resume 254:16, Swap 0,5 GiB für "
         "1,0 GiB belegten Speicher)\n    Abhilfe: mehr Swap einrichten, mindestens so viel wie "
         "der belegte Speicher\n"},
        {[](CheckSetUp& t) {
             t.platform.settings.store("Verbindung", "Name", "provider");
             t.facts.programs = {"nmcli"};
         },
         "DFÜ",
         "DFÜ-Verbindung: fehlt (pppd-Peer „provider“)\n    Abhilfe: sudo apt-get install ppp\n"},
        {[](CheckSetUp& t) { t.platform.settings.store("Verbindung", "Name", "Handy"); }, "DFÜ",
         "DFÜ-Verbindung: fehlt („Handy“ gibt es weder in /etc/ppp/peers noch in "
         "NetworkManager)\n    Abhilfe: im Programmfenster eine vorhandene DFÜ-Verbindung "
         "wählen\n"},
    };
    for (const Case& c : cases) {
        CheckSetUp fresh;
        c.breakIt(fresh);
        const auto items = checkMachine(fresh.services, false);
        EXPECT_EQ(fresh.line(items, c.item), c.expected);
        EXPECT_EQ(checkExitStatus(items), 1) << c.item;
    }
}

TEST_F(CheckTest, WhatTheMachineCannotDoOrTheStoredChoicesDoNotNeedIsNotNeeded) {
    platform.power.suspend = false;
    platform.power.hibernate = false;
    platform.settings.store("Verbindung", "Name", "Handy");
    platform.dialer.entries = {"Handy"};
    const auto items = checkMachine(services, true);
    EXPECT_EQ(line(items, "Wecken aus dem Standby"),
              "Wecken aus dem Standby (Weckalarm des Kernels): nicht nötig (kein Standby)\n");
    EXPECT_EQ(line(items, "Wecken aus dem Ruhezustand"),
              "Wecken aus dem Ruhezustand (Weckalarm der Echtzeituhr): nicht nötig (kein "
              "Ruhezustand)\n");
    EXPECT_EQ(line(items, "DFÜ"), "DFÜ-Verbindung: ok (NetworkManager-Verbindung „Handy“)\n");
    EXPECT_EQ(line(items, "FTP"), "FTP-Server: nicht nötig (keiner gespeichert)\n");
    EXPECT_TRUE(platform.wakeAlarm.armed.empty());
    platform.settings.store("Verbindung", "Name", "");
    EXPECT_EQ(line(checkMachine(services, false), "DFÜ"),
              "DFÜ-Verbindung: nicht nötig (keine gespeichert)\n");
}

// A small file is stored and deleted again; the fix follows the step and the server's
// words, which tell a want of encryption from a wrong login under the same code.
TEST_F(CheckTest, TheFtpCheckStoresAndDeletesAProbeAndExplainsARefusalByStepAndReply) {
    platform.settings.store("VidOru FTP", "Server", "ftps://ftp.example.org");
    platform.settings.store("VidOru FTP", "User", "web1");
    platform.settings.store("VidOru FTP", "Password", "geheim");
    platform.settings.store("VidOru FTP", "Directory", "/htdocs");
    EXPECT_EQ(line(checkMachine(services, true), "FTP"),
              "FTP-Server: ok (ftps://ftp.example.org)\n");
    EXPECT_EQ(platform.ftp.calls,
              (std::vector<std::string>{"open VidOru FTP", "connect ftp.example.org web1 geheim",
                                        "cwd /htdocs", "put 52 bytes somnar-check.tmp",
                                        "remove somnar-check.tmp", "disconnect"}));
    EXPECT_EQ(platform.ftp.lastLogin.encryption, FtpEncryption::Required);
    using Fake = testing::FakeFtpClient;
    const std::string tls =
        "der Server nimmt nur verschlüsselte Verbindungen an (TLS), bot dem "
        "Programm aber keine an: beim Anbieter den Servernamen für FTP mit "
        "TLS (explizites FTPS) erfragen und eintragen";
    const std::string full =
        "auf dem Server ist der Speicherplatz oder das Kontingent (Quota) "
        "voll: dort Dateien löschen oder beim Anbieter mehr Platz buchen";
    const struct {
        FtpResult Fake::*answer;
        FtpResult result;
        std::string step, fix;
    } cases[] = {
        {&Fake::connectAnswer,
         {false, 530, "530 Non-anonymous sessions must use encryption."},
         "Anmeldung",
         tls},
        {&Fake::connectAnswer,
         {false, 550, "550 SSL/TLS required on the control channel"},
         "Anmeldung",
         tls},
        {&Fake::connectAnswer,
         {false, 421, "421 Please reconnect using TLS security mechanisms."},
         "Anmeldung",
         tls},
        {&Fake::connectAnswer,
         {false, 550, "550 Account disabled."},
         "Anmeldung",
         "der Server verweigert diesem Konto die Anmeldung: Benutzer und Passwort prüfen und beim "
         "Anbieter fragen, ob das Konto FTP benutzen darf"},
        {&Fake::connectAnswer,
         {false, 530, "530 Login incorrect."},
         "Anmeldung",
         "Benutzer und Passwort im Programmfenster prüfen"},
        {&Fake::connectAnswer,
         {false, 60, "SSL certificate problem: self-signed certificate"},
         "Anmeldung",
         "dem Zertifikat des Servers wird nicht vertraut (Grund oben): den Servernamen eintragen, "
         "der im Zertifikat steht, oder das Zertifikat seiner Zertifizierungsstelle in die "
         "Zertifikatsablage des Systems aufnehmen"},
        {&Fake::connectAnswer,
         {false, 999, ""},
         "Anmeldung",
         "Server, Benutzer, Passwort und Verzeichnis im Programmfenster prüfen; die Nummer ist "
         "unter 100 ein Fehler von libcurl (man libcurl-errors), sonst die Antwort des Servers"},
        {&Fake::directoryAnswer,
         {false, 550, "550 Failed to change directory."},
         "Verzeichnis",
         "das Server-Verzeichnis gibt es nicht oder es darf nicht betreten werden"},
        {&Fake::putAnswer,
         {false, 553, "553 Could not create file."},
         "Probedatei speichern",
         "der Server nimmt im Verzeichnis keine Datei an: Schreibrechte im Server-Verzeichnis "
         "prüfen"},
        {&Fake::putAnswer,
         {false, 452, "452 Transfer aborted. No space left on device"},
         "Probedatei speichern",
         full},
        {&Fake::putAnswer, {false, 552, "552 Quota exceeded"}, "Probedatei speichern", full},
        {&Fake::removeAnswer,
         {false, 550, "550 Delete operation failed."},
         "Probedatei löschen",
         "der Server erlaubt im Verzeichnis kein Löschen: somnar-check.tmp dort von Hand löschen "
         "und Löschrechte erfragen"},
    };
    for (const auto& c : cases) {
        platform.ftp.*c.answer = c.result;
        const std::string said = c.result.reply.empty() ? "" : "; " + c.result.reply;
        EXPECT_EQ(line(checkMachine(services, true), "FTP"),
                  "FTP-Server: fehlt (ftps://ftp.example.org, " + c.step + ": Error: " +
                      std::to_string(c.result.code) + said + ")\n    Abhilfe: " + c.fix + "\n");
        platform.ftp.*c.answer = {true, 0};
    }
}

// The clock says 06.12.2026 10:00:00 local, 09:00:00 UTC; the test wake-up is due 30 s on.
TEST_F(CheckTest, ATestWakeUpSleepsAndTellsHowLateItWoke) {
    const struct {
        long asleepMs;
        int status;
        std::string told;  // the whole report, or the part after "Aufgewacht: "
    } cases[] = {
        {30800, 0,
         "Testweckung: Standbyzustand, Weckzeit 10:00:30,0 (in 30 s)\nEingeschlafen: "
         "10:00:00,0\nAufgewacht: 10:00:30,8\nVerspätung: 0,8 s\nPünktlich aufgewacht.\n"},
        {41300, 1, "10:00:41,3\nVerspätung: 11,3 s\nZu spät aufgewacht"},
        {27000, 1, "10:00:27,0\nVerspätung: -3,0 s\nZu früh aufgewacht"},  // not by the alarm
        {28800, 0, "10:00:28,8\nVerspätung: -1,2 s\nPünktlich"},  // the clock's whole seconds
    };
    for (const auto& c : cases) {
        platform.clock = testing::FakeClock{};
        platform.power.whileAsleep = [&] {
            platform.clock.advance(std::chrono::milliseconds(c.asleepMs));
        };
        std::ostringstream out;
        EXPECT_EQ(runTestWake(services, SleepState::Standby, 30, out), c.status) << out.str();
        EXPECT_NE(out.str().find(c.told), std::string::npos) << out.str();
    }
    // The check's alarm a year ahead first, then the test's.
    EXPECT_EQ(platform.wakeAlarm.armed.at(1).due,
              testing::utc(2026, 12, 6, 9, 0) + std::chrono::seconds(30));
    EXPECT_EQ(std::vector(platform.log.begin(), platform.log.begin() + 5),
              (testing::EventLog{"alarm armed", "alarm released", "alarm armed", "sleep standby",
                                 "alarm released"}));
    platform.wakeAlarm.refuseWith = AlarmError::NoPermission;
    std::ostringstream refused;
    EXPECT_EQ(runTestWake(services, SleepState::Standby, 30, refused), 1);
    EXPECT_EQ(refused.str(),
              "Die Testweckung ist nicht möglich:\nWecken aus dem Standby (Weckalarm des "
              "Kernels): fehlt (Das Programm darf keinen Weckzeitgeber stellen (es fehlt die "
              "Berechtigung CAP_WAKE_ALARM). Als root freischalten mit: setcap cap_wake_alarm+ep "
              ")\n    Abhilfe: sudo setcap cap_wake_alarm+ep /usr/local/bin/somnar-scheduler\n");
    EXPECT_EQ(platform.power.sleeps.size(), 4u);  // the refused one did not sleep
}

TEST(CommandLineTest, OptionsAndTheirMistakes) {
    const std::tuple<std::vector<std::string>, RunMode, std::string> cases[] = {
        {{}, RunMode::Window, ""},
        {{"--help"}, RunMode::Help, ""},
        {{"--version"}, RunMode::Version, ""},
        {{"--check"}, RunMode::Check, ""},
        {{"--test-wake"}, RunMode::TestWake, ""},
        {{"--frobnicate"}, RunMode::Window, "unbekannte Option „--frobnicate“."},
        {{"--help", "x"}, RunMode::Window, "unbekannte Angabe nach --help: „x“."},
        {{"--check", "--test-wake"}, RunMode::Window, "unbekannte Angabe nach --check"},
        {{"--test-wake", "standby", "19"}, RunMode::Window, "--test-wake braucht"},
        {{"--test-wake", "abc"}, RunMode::Window, "--test-wake braucht"},
        {{"--test-wake", "standby", "-30"}, RunMode::Window, "--test-wake braucht"},
        {{"--test-wake", "30", "standby"}, RunMode::Window, "zu viele Angaben"},
    };
    for (const auto& [arguments, mode, error] : cases) {
        const CommandLine line = parseCommandLine(arguments);
        EXPECT_EQ(line.error.substr(0, error.size()), error);
        EXPECT_EQ(line.error.empty(), error.empty());
        EXPECT_TRUE(!error.empty() || line.mode == mode) << error;
    }
    const CommandLine wake = parseCommandLine({"--test-wake", "hibernate", "20"});
    EXPECT_EQ(wake.mode, RunMode::TestWake);
    EXPECT_EQ(wake.testState, SleepState::Hibernate);
    EXPECT_EQ(wake.testSeconds, 20);
    EXPECT_EQ(parseCommandLine({"--test-wake"}).testSeconds, 60);
    EXPECT_TRUE(parseCommandLine({"--check", "--check-ftp"}).checkFtp);
    EXPECT_FALSE(parseCommandLine({"--check"}).checkFtp);
}

}  // namespace
}  // namespace somnar
