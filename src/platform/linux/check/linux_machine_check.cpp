#include "platform/linux/check/linux_machine_check.h"

#include <algorithm>

#include "schedule/test_wake.h"

#include "common/settings_keys.h"
#include "platform/linux/check/linux_failure_texts.h"

namespace somnar {
namespace {

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
    item.detail = LinuxFailureTexts{}.alarmFailure(SleepState::Standby, armed);
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

int runTestWake(CheckServices& services, SleepState state, int ahead, std::ostream& out) {
    std::vector<CheckItem> items = checkSleepState(services, state);
    if (checkExitStatus(items) != 0) {
        std::erase_if(items,
                      [](const CheckItem& item) { return item.state != CheckState::Missing; });
        out << "Die Testweckung ist nicht möglich:\n" << checkReport(items);
        return 1;
    }
    return measureTestWake(services.power, services.wakeAlarm, services.clock, LinuxFailureTexts{},
                           state, ahead, out);
}

}  // namespace somnar
