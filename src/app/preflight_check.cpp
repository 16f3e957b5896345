#include "app/preflight_check.h"

#include <algorithm>

#include "app/failure_texts.h"
#include "app/settings_keys.h"

namespace somnar {
namespace {

constexpr std::string_view kStateNames[] = {"ok", "fehlt", "nicht nötig", "unbekannt"};

std::string stored(SettingsStore& settings, const SettingKey& at) {
    return settings.read(at.application, at.section, at.key);
}

// Bytes as GiB with one decimal.
std::string gibibytes(std::uint64_t bytes) {
    const std::uint64_t tenths = (bytes * 10 + (1ull << 29)) >> 30;
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " GiB";
}

CheckItem logindItem(const std::optional<std::string>& answer) {
    if (answer) {
        return {"systemd-logind erreichbar", CheckState::Ok, {}, {}};
    }
    return {"systemd-logind erreichbar", CheckState::Missing, "keine Antwort auf dem Systembus",
            "systemd-logind und der Systembus müssen laufen: systemctl status systemd-logind"};
}

CheckItem possibleItem(SleepState state, const std::optional<std::string>& answer) {
    const bool hibernate = state == SleepState::Hibernate;
    CheckItem item{
        hibernate ? "Ruhezustand möglich (CanHibernate)" : "Standby möglich (CanSuspend)",
        CheckState::Ok,
        answer.value_or(""),
        {}};
    if (!answer) {
        item.state = CheckState::Missing;
        item.detail = "systemd-logind antwortet nicht";
    } else if (*answer == "challenge") {
        item.detail = "challenge: nach Passwortabfrage";
    } else if (*answer != "yes") {
        item.state = CheckState::Missing;
        item.fix = hibernate ? "Ruhezustand braucht Swap mit resume= (siehe unten) und darf in "
                               "/etc/systemd/sleep.conf nicht abgeschaltet sein"
                             : "Standby muss von der Firmware unterstützt und in "
                               "/etc/systemd/sleep.conf erlaubt sein";
    }
    return item;
}

CheckItem standbyWakeUpItem(CheckServices& services) {
    CheckItem item{"Wecken aus dem Standby (Weckalarm des Kernels)", CheckState::Ok, {}, {}};
    // Armed a year ahead and taken back at once: it can never go off.
    const auto due = std::chrono::time_point_cast<std::chrono::seconds>(services.clock.utcNow()) +
                     std::chrono::days(365);
    const AlarmResult armed = services.wakeAlarm.arm(SleepState::Standby, due);
    if (armed.alarm) {
        return item;
    }
    item.state = CheckState::Missing;
    item.detail = alarmFailureText(SleepState::Standby, armed);
    if (armed.error == AlarmError::NoPermission) {
        item.fix = "sudo setcap cap_wake_alarm+ep " + services.programPath;
    }
    return item;
}

CheckItem hibernationWakeUpItem(SystemFacts& facts) {
    CheckItem item{"Wecken aus dem Ruhezustand (Weckalarm der Echtzeituhr)",
                   CheckState::Ok,
                   facts.clockKeepsLocalTime() ? "Uhr läuft in Ortszeit (LOCAL in /etc/adjtime)"
                                               : "Uhr läuft in UTC",
                   {}};
    if (!facts.wakeAlarmExists()) {
        item.state = CheckState::Missing;
        item.detail = "/sys/class/rtc/rtc0/wakealarm fehlt";
        item.fix =
            "ohne Echtzeituhr mit Weckalarm kann dieser Rechner nicht aus dem "
            "Ruhezustand geweckt werden";
    } else if (!facts.wakeAlarmWritable()) {
        item.state = CheckState::Missing;
        item.detail = "/sys/class/rtc/rtc0/wakealarm ist nicht beschreibbar";
        item.fix =
            "das Paket somnar-scheduler installieren (oder sudo cmake --install build: "
            "udev-Regel für die Gruppe somnar-wake), dann sudo adduser $USER somnar-wake "
            "und neu anmelden";
    }
    return item;
}

CheckItem resumeItem(SystemFacts& facts) {
    const std::string device = facts.resumeDevice();
    const std::uint64_t swap = facts.swapBytes();
    const std::uint64_t inUse = facts.memoryInUseBytes();
    CheckItem item{"Fortsetzen nach dem Ruhezustand (resume, Swap)",
                   CheckState::Ok,
                   "resume " + (device.empty() ? std::string("keins") : device) + ", Swap " +
                       gibibytes(swap) + " für " + gibibytes(inUse) + " belegten Speicher",
                   {}};
    if (device.empty()) {
        item.state = CheckState::Missing;
        item.fix =
            "resume=<Swap-Gerät> in die Kernel-Befehlszeile und RESUME= in "
            "/etc/initramfs-tools/conf.d/resume eintragen, dann sudo update-initramfs -u";
    } else if (swap < inUse) {
        item.state = CheckState::Missing;
        item.fix = "mehr Swap einrichten, mindestens so viel wie der belegte Speicher";
    }
    return item;
}

CheckItem dialupItem(CheckServices& services) {
    const std::string name = stored(services.settings, settings::kDialupName);
    CheckItem item{"DFÜ-Verbindung", CheckState::Ok, {}, {}};
    SystemFacts& facts = services.facts;
    if (name.empty()) {
        item.state = CheckState::NotNeeded;
        item.detail = "keine gespeichert";
    } else if (facts.pppPeerExists(name)) {
        item.detail = "pppd-Peer „" + name + "“";
        if (!facts.programAvailable("pon") || !facts.programAvailable("pppd")) {
            item.state = CheckState::Missing;
            item.fix = "sudo apt-get install ppp";
        }
    } else {
        const std::vector<std::string> entries = services.dialer.listEntries();
        item.detail = "NetworkManager-Verbindung „" + name + "“";
        if (!facts.programAvailable("nmcli") ||
            std::find(entries.begin(), entries.end(), name) == entries.end()) {
            item.state = CheckState::Missing;
            item.detail = "„" + name + "“ gibt es weder in /etc/ppp/peers noch in NetworkManager";
            item.fix = "im Programmfenster eine vorhandene DFÜ-Verbindung wählen";
        }
    }
    return item;
}

// The FTP client's codes: the server's replies (400 to 599) on every system; below 100
// libcurl's (Linux); 12000 and up WinINet's, with 87 and 110 for the Windows client's own
// refusals (see WinInetFtpClient). The ranges do not overlap, so one table serves both.
std::string ftpFix(long code) {
    switch (code) {
        case 530:
        case 67:
        case 12013:
        case 12014:
        case 12015:
            return "Benutzer und Passwort im Programmfenster prüfen";
        case 550:
        case 9:
        case 21:
            return "das Server-Verzeichnis gibt es nicht oder es darf nicht betreten werden";
        case 6:
        case 7:
        case 8:
        case 12007:
        case 12029:
            return "Server und Port prüfen: dort antwortet kein FTP-Server";
        case 28:
        case 12002:
            return "der Server antwortet nicht innerhalb von 30 s";
        case 3:
        case 12005:
            return "als Server einen Rechnernamen oder eine Adresse eintragen, wahlweise mit "
                   ":Port (etwa ftp.example.org:2121)";
        case 43:
        case 87:
            return "Benutzer, Passwort und Verzeichnis im Programmfenster neu eingeben: sie "
                   "dürfen keinen Zeilenumbruch und kein NUL-Zeichen enthalten";
        case 42:
        case 55:
        case 56:
        case 12030:
        case 12031:
        case 12111:
            return "die Verbindung zum Server brach ab: Netzverbindung prüfen und erneut versuchen";
        case 27:
            return "zu wenig freier Arbeitsspeicher: andere Programme beenden und erneut versuchen";
        case 1:
        case 2:
        case 4:
        case 48:
            return "das FTP-Modul des Programms oder libcurl fehlt oder ist unvollständig: sudo "
                   "apt-get install libcurl4, dann das Programm neu installieren";
        case 25:
            return "der Server nimmt ip.html nicht an: Schreibrechte im Server-Verzeichnis und "
                   "freien Platz auf dem Server prüfen";
        case 26:
        case 37:
        case 110:
            return "ip.html lässt sich nicht lesen: Rechte und freien Platz im Datenordner des "
                   "Programms prüfen";
        default:
            return "Server, Benutzer, Passwort und Verzeichnis im Programmfenster prüfen; die "
                   "Nummer ist unter 100 ein Fehler von libcurl (man libcurl-errors), ab 12000 "
                   "einer von WinINet, sonst die Antwort des Servers";
    }
}

}  // namespace

std::vector<CheckItem> checkSleepState(CheckServices& services, SleepState state) {
    const std::optional<std::string> answer = services.power.sleepAnswer(state);
    std::vector<CheckItem> items{logindItem(answer), possibleItem(state, answer)};
    // Only a machine that says it cannot enter the state needs no wake-up from it; without
    // an answer the wake-up is checked all the same.
    const bool possible = !answer || items.back().state == CheckState::Ok;
    if (state == SleepState::Standby) {
        items.push_back(possible ? standbyWakeUpItem(services)
                                 : CheckItem{"Wecken aus dem Standby (Weckalarm des Kernels)",
                                             CheckState::NotNeeded,
                                             "kein Standby",
                                             {}});
        return items;
    }
    if (possible) {
        items.push_back(hibernationWakeUpItem(services.facts));
        items.push_back(resumeItem(services.facts));
    } else {
        items.push_back({"Wecken aus dem Ruhezustand (Weckalarm der Echtzeituhr)",
                         CheckState::NotNeeded,
                         "kein Ruhezustand",
                         {}});
    }
    return items;
}

std::vector<CheckItem> checkMachine(CheckServices& services, bool withFtp) {
    std::vector<CheckItem> items = checkSleepState(services, SleepState::Standby);
    std::vector<CheckItem> hibernation = checkSleepState(services, SleepState::Hibernate);
    items.insert(items.end(), hibernation.begin() + 1, hibernation.end());  // logind once
    items.push_back(dialupItem(services));
    if (withFtp) {
        items.push_back(ftpLoginItem(services.settings, services.ftp));
    }
    return items;
}

CheckItem ftpLoginItem(SettingsStore& store, FtpClient& ftp) {
    const std::string server = stored(store, settings::kFtpServer);
    CheckItem item{"FTP-Server", CheckState::Ok, server, {}};
    if (server.empty()) {
        return {"FTP-Server", CheckState::NotNeeded, "keiner gespeichert", {}};
    }
    FtpResult result = ftp.open("VidOru FTP");
    std::string step = "Start";
    if (result.ok) {
        step = "Anmeldung";
        // Passive or not matters only for a transfer, and none is made.
        result = ftp.connect(server, stored(store, settings::kFtpUser),
                             stored(store, settings::kFtpPassword), true);
    }
    if (result.ok) {
        step = "Verzeichnis";
        result = ftp.changeDirectory(stored(store, settings::kFtpDirectory));
    }
    ftp.disconnect();
    if (!result.ok) {
        item.state = CheckState::Missing;
        item.detail = server + ", " + step + ": Error: " + std::to_string(result.code);
        item.fix = ftpFix(result.code);
    }
    return item;
}

std::string checkReport(const std::vector<CheckItem>& items) {
    std::string text;
    for (const CheckItem& item : items) {
        text += item.name + ": " + std::string(kStateNames[static_cast<int>(item.state)]);
        if (!item.detail.empty()) {
            text += " (" + item.detail + ")";
        }
        text += "\n";
        if ((item.state == CheckState::Missing || item.state == CheckState::Unknown) &&
            !item.fix.empty()) {
            text += "    Abhilfe: " + item.fix + "\n";
        }
    }
    return text;
}

int checkExitStatus(const std::vector<CheckItem>& items) {
    return std::any_of(items.begin(), items.end(),
                       [](const CheckItem& item) {
                           return item.state == CheckState::Missing ||
                                  item.state == CheckState::Unknown;
                       })
               ? 1
               : 0;
}

}  // namespace somnar
