// Uploading ip.html to the user's FTP server, step by step in the status label.

#include "app/main_window_model.h"
#include "app/settings_keys.h"

namespace somnar {
namespace {

constexpr const char* kDisconnected = "Disconnected...";
constexpr const char* kNotStored = "FTP-Werte nicht gespeichert";

}  // namespace

void MainWindow::onUpload() {
    const std::string server = ftpServer.text();
    const std::string user = ftpUser.text();
    const std::string password = ftpPassword.text();
    const std::string folder = ftpFolder.text();
    const std::string localPath = documentPath(localFileName.text());
    const std::string remoteName = remoteFileName.text();

    // Stored before anything else, whatever follows; one rewrite of the file for all four.
    // Nobody may be at the machine: a failure shows in the status label, not in a box.
    if (!storeFtpValues()) {
        ftpStatus.setCaption(kNotStored);
        services_.log.write(LogLevel::Warning,
                            std::string(kNotStored) + ": " +
                                services_.settings.location(settings::kFtpServer.application));
    }

    FtpClient& ftp = services_.ftp;
    auto fail = [&](const char* title, const FtpResult& result, bool connected) {
        const std::string error = "Error: " + std::to_string(result.code);
        reportProblem("Die IP-Adresse wurde nicht per FTP übertragen: " + std::string(title) +
                      ", " + error);
        services_.dialogs.showMessage({error, title, MessageButtons::Ok, MessageIcon::Question});
        ftpStatus.setCaption(kDisconnected);
        if (connected) {
            ftp.disconnect();
        }
    };

    if (const FtpResult opened = ftp.open("VidOru FTP"); !opened.ok) {
        fail("Internet Conection Error", opened, false);
        return;
    }
    ftpStatus.setCaption("Internet Open...");
    const bool passive = passiveBox.value() != CheckBox::Unchecked;  // greyed counts as ticked
    if (const FtpResult connected = ftp.connect(server, user, password, passive); !connected.ok) {
        fail("Server Conection Error", connected, false);
        return;
    }
    ftpStatus.setCaption("Connected to Server...");
    if (const FtpResult changed = ftp.changeDirectory(folder); !changed.ok) {
        fail("Initial Directory Error", changed, true);
        return;
    }
    ftpStatus.setCaption("Directory Ready...");
    if (const FtpResult sent = ftp.putFile(localPath, remoteName); !sent.ok) {
        fail("File Transfer Error", sent, true);
        return;
    }
    ftpStatus.setCaption("Sending File...");
    ftp.disconnect();
    ftpStatus.setCaption(kDisconnected);
}

bool MainWindow::storeFtpValues() {
    return services_.settings.writeValues(
        settings::kFtpServer.application, settings::kFtpServer.section,
        {{std::string(settings::kFtpServer.key), ftpServer.text()},
         {std::string(settings::kFtpUser.key), ftpUser.text()},
         {std::string(settings::kFtpPassword.key), ftpPassword.text()},
         {std::string(settings::kFtpDirectory.key), ftpFolder.text()}});
}

// The caption names the next press: "N" (normal) while the text is hidden, "P" while
// it is shown.
void MainWindow::togglePassword(TextBox& box, CommandButton& button) {
    if (box.passwordChar() != "*") {
        box.setPasswordChar("*");
        button.setCaption("N");
    } else {
        box.setPasswordChar("");
        button.setCaption("P");
    }
    window.setFocus(&focusSink);
}

void MainWindow::onDialupPasswordToggle() {
    togglePassword(dialupPassword, dialupPasswordToggle);
}

void MainWindow::onFtpPasswordToggle() {
    togglePassword(ftpPassword, ftpPasswordToggle);
}

}  // namespace somnar
