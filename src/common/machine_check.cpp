#include "common/machine_check.h"

#include <algorithm>

#include "common/settings_keys.h"

namespace somnar {
namespace {

constexpr std::string_view kStateNames[] = {"ok", "fehlt", "nicht nötig", "unbekannt"};

std::string stored(SettingsStore& settings, const SettingKey& at) {
    return settings.read(at.application, at.section, at.key);
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
