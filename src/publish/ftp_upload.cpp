// Uploading ip.html to the user's FTP server, step by step in the status label.

#include "app/main_window_model.h"
#include "app/settings_keys.h"

namespace somnar {
namespace {

constexpr const char* kDisconnected = "Disconnected...";

}  // namespace

void Form1::cmdFTP_PUT_Click() {
    const std::string server = txtServer.text();
    const std::string user = txtFTP_USER.text();
    const std::string password = txtFTP_Password.text();
    const std::string folder = txtDir.text();
    const std::string localPath = documentPath(TxtFile.text());
    const std::string remoteName = TxtFileR.text();

    // Stored before anything else, whatever follows; one rewrite of the file for all four.
    services_.settings.writeValues(settings::kFtpServer.application, settings::kFtpServer.section,
                                   {{std::string(settings::kFtpServer.key), server},
                                    {std::string(settings::kFtpUser.key), user},
                                    {std::string(settings::kFtpPassword.key), password},
                                    {std::string(settings::kFtpDirectory.key), folder}});

    FtpClient& ftp = services_.ftp;
    auto fail = [&](const char* title, const FtpResult& result, bool connected) {
        services_.dialogs.showMessage({"Error: " + std::to_string(result.code), title,
                                       MessageButtons::Ok, MessageIcon::Question});
        Status.setCaption(kDisconnected);
        if (connected) {
            ftp.disconnect();
        }
    };

    if (const FtpResult opened = ftp.open("VidOru FTP"); !opened.ok) {
        fail("Internet Conection Error", opened, false);
        return;
    }
    Status.setCaption("Internet Open...");
    const bool passive = chkPassiv.value() != CheckBox::Unchecked;  // greyed counts as ticked
    if (const FtpResult connected = ftp.connect(server, user, password, passive); !connected.ok) {
        fail("Server Conection Error", connected, false);
        return;
    }
    Status.setCaption("Connected to Server...");
    if (const FtpResult changed = ftp.changeDirectory(folder); !changed.ok) {
        fail("Initial Directory Error", changed, true);
        return;
    }
    Status.setCaption("Directory Ready...");
    if (const FtpResult sent = ftp.putFile(localPath, remoteName); !sent.ok) {
        fail("File Transfer Error", sent, true);
        return;
    }
    Status.setCaption("Sending File...");
    ftp.disconnect();
    Status.setCaption(kDisconnected);
}

// The caption names the next press: "N" (normal) while the text is hidden, "P" while
// it is shown.
void Form1::togglePassword(TextBox& box, CommandButton& button) {
    if (box.passwordChar() != "*") {
        box.setPasswordChar("*");
        button.setCaption("N");
    } else {
        box.setPasswordChar("");
        button.setCaption("P");
    }
    window.setFocus(&cmdDummy);
}

void Form1::cmdNormalOrPW_Click() {
    togglePassword(txtPassword, cmdNormalOrPW);
}

void Form1::cmdNormalOrPW2_Click() {
    togglePassword(txtFTP_Password, cmdNormalOrPW2);
}

}  // namespace somnar
