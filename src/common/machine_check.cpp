#include "common/machine_check.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

#include "common/settings_keys.h"
#include "publish/ftp_login.h"

namespace somnar {
namespace {

constexpr std::string_view kStateNames[] = {"ok", "fehlt", "nicht nötig", "unbekannt"};

std::string stored(SettingsStore& settings, const SettingKey& at) {
    return settings.read(at.application, at.section, at.key);
}

constexpr const char* kProbeName = "somnar-check.tmp";
constexpr const char* kProbeText = "Probe von Somnar Scheduler, darf geloescht werden.\r\n";

// The steps of the FTP check, in order, and what their failures mean.
enum class FtpStep { Start, Login, Folder, Store, Delete };
constexpr std::string_view kStepNames[] = {"Start", "Anmeldung", "Verzeichnis",
                                           "Probedatei speichern", "Probedatei löschen"};

bool mentions(const std::string& said, std::initializer_list<std::string_view> words) {
    const std::string text = asciiLowered(said);
    return std::any_of(words.begin(), words.end(),
                       [&](std::string_view word) { return text.find(word) != std::string::npos; });
}

// The FTP client's codes: the server's replies (400 to 599), below 100 libcurl's. The
// server's own words come first: they tell a refusal for want of encryption from one for
// a wrong password, both of which may carry 530, 550 or 421.
std::string ftpFix(FtpStep step, const FtpResult& result) {
    const long code = result.code;
    if (code >= 400 && mentions(result.reply, {"encrypt", "tls", "ssl", "cleartext", "secure"})) {
        return "der Server nimmt nur verschlüsselte Verbindungen an (TLS), bot dem Programm aber "
               "keine an: beim Anbieter den Servernamen für FTP mit TLS (explizites FTPS) "
               "erfragen und eintragen";
    }
    if (code == 451 || code == 452 || code == 552) {
        return "auf dem Server ist der Speicherplatz oder das Kontingent (Quota) voll: dort "
               "Dateien löschen oder beim Anbieter mehr Platz buchen";
    }
    if (code == 550 || code == 553) {
        switch (step) {
            case FtpStep::Login:
                return "der Server verweigert diesem Konto die Anmeldung: Benutzer und Passwort "
                       "prüfen und beim Anbieter fragen, ob das Konto FTP benutzen darf";
            case FtpStep::Folder:
                return "das Server-Verzeichnis gibt es nicht oder es darf nicht betreten werden";
            case FtpStep::Delete:
                return std::string("der Server erlaubt im Verzeichnis kein Löschen: ") +
                       kProbeName + " dort von Hand löschen und Löschrechte erfragen";
            default:
                return "der Server nimmt im Verzeichnis keine Datei an: Schreibrechte im "
                       "Server-Verzeichnis prüfen";
        }
    }
    switch (code) {
        case 530:
        case 67:
            return "Benutzer und Passwort im Programmfenster prüfen";
        case 421:
            return "der Server nimmt gerade keine Verbindung an: später erneut versuchen";
        case 9:
        case 21:
            return "das Server-Verzeichnis gibt es nicht oder es darf nicht betreten werden";
        case 6:
        case 7:
        case 8:
            return "Server und Port prüfen: dort antwortet kein FTP-Server";
        case 28:
            return "der Server antwortet nicht innerhalb von 30 s";
        case 3:
            return "als Server einen Rechnernamen oder eine Adresse eintragen, wahlweise mit "
                   ":Port (etwa ftp.example.org:2121) oder ftps:// davor";
        case 43:
            return "Benutzer, Passwort und Verzeichnis im Programmfenster neu eingeben: sie "
                   "dürfen keinen Zeilenumbruch und kein NUL-Zeichen enthalten";
        case 77:
            return "die Zertifikate der Zertifizierungsstellen fehlen auf diesem Rechner: sudo "
                   "apt-get install ca-certificates";
        case 60:
            return "dem Zertifikat des Servers wird nicht vertraut (Grund oben): den Servernamen "
                   "eintragen, der im Zertifikat steht, oder das Zertifikat seiner "
                   "Zertifizierungsstelle in die Zertifikatsablage des Systems aufnehmen";
        case 35:
            return "die verschlüsselte Verbindung (TLS) kam nicht zustande (Grund oben): "
                   "beim Anbieter nach FTP mit TLS fragen";
        case 64:
            return "der Server bietet keine Verschlüsselung (TLS) an, verlangt ist sie aber "
                   "(ftps:// vor dem Server oder RequireTLS=1 in den gespeicherten Werten): "
                   "beim Anbieter nach FTP mit TLS fragen, oder beides entfernen, dann geht "
                   "das Passwort unverschlüsselt über das Netz";
        case 42:
        case 55:
        case 56:
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
            return "der Server nimmt keine Datei an: Schreibrechte im Server-Verzeichnis und "
                   "freien Platz auf dem Server prüfen";
        case 26:
        case 37:
            return "ip.html lässt sich nicht lesen: Rechte und freien Platz im Datenordner des "
                   "Programms prüfen";
        default:
            return "Server, Benutzer, Passwort und Verzeichnis im Programmfenster prüfen; die "
                   "Nummer ist unter 100 ein Fehler von libcurl (man libcurl-errors), sonst die "
                   "Antwort des Servers";
    }
}

}  // namespace

CheckItem ftpLoginItem(SettingsStore& store, FtpClient& ftp) {
    const std::string server = stored(store, settings::kFtpServer);
    CheckItem item{"FTP-Server", CheckState::Ok, server, {}};
    if (server.empty()) {
        return {"FTP-Server", CheckState::NotNeeded, "keiner gespeichert", {}};
    }
    FtpStep step = FtpStep::Start;
    FtpResult result = ftp.open("VidOru FTP");
    // Passive mode, which works behind most routers; the upload itself takes the user's choice.
    const auto next = [&](FtpStep nextStep, const auto& call) {
        if (result.ok) {
            step = nextStep;
            result = call();
        }
    };
    next(FtpStep::Login, [&] {
        return ftp.connect(ftpLogin(server, stored(store, settings::kFtpUser),
                                    stored(store, settings::kFtpPassword), true,
                                    stored(store, settings::kFtpRequireTls)));
    });
    next(FtpStep::Folder,
         [&] { return ftp.changeDirectory(stored(store, settings::kFtpDirectory)); });
    // A small file stored and deleted again: a folder without write rights, a full disk and
    // a used-up quota show now, not at the upload after the next wake-up.
    next(FtpStep::Store, [&] { return ftp.putBytes(kProbeText, kProbeName); });
    next(FtpStep::Delete, [&] { return ftp.remove(kProbeName); });
    if (step == FtpStep::Store && !result.ok) {
        static_cast<void>(ftp.remove(kProbeName));  // servers keep what came before the failure
    }
    ftp.disconnect();
    if (!result.ok) {
        item.state = CheckState::Missing;
        item.detail = server + ", " + std::string(kStepNames[static_cast<int>(step)]) +
                      ": Error: " + std::to_string(result.code) +
                      (result.reply.empty() ? "" : "; " + result.reply);
        item.fix = ftpFix(step, result);
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
