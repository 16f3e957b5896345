// Publishing the address once connected: ip.html written, then uploaded to the user's FTP
// server step by step in the status label.

#include "app/main_window_model.h"
#include "common/settings_keys.h"

namespace somnar {
namespace {

constexpr const char* kDisconnected = "Disconnected...";
constexpr const char* kNotStored = "FTP-Werte nicht gespeichert";

}  // namespace

void MainWindow::onConnectionWatchTick() {
    const std::optional<AddressLookup> found = publication_.tick();
    if (!found) {
        return;
    }
    if (!found->problem.empty()) {
        services_.dialogs.showMessage({found->problem, std::string(kApplicationTitle),
                                       MessageButtons::Ok, MessageIcon::None});
    }
    ui_.ipAddressLine.setCaption(found->address);
    if (const auto problem = publication_.writeDocument()) {
        ui_.ftpStatus.setCaption("ip.html nicht geschrieben");
        reportProblem(*problem);
        showWarning(*problem);
    } else {
        onUpload();
    }
    ui_.connectionWatch.setEnabled(false);
}

void MainWindow::onUpload() {
    const FtpTarget target = ftpTarget();
    // Stored before anything else, whatever follows; one rewrite of the file for all four.
    // Nobody may be at the machine: a failure shows in the status label, not in a box.
    if (!storeFtpValues()) {
        ui_.ftpStatus.setCaption(kNotStored);
        services_.log.write(LogLevel::Warning,
                            std::string(kNotStored) + ": " +
                                services_.settings.location(settings::kFtpServer.application));
    }
    publisher_.upload(
        target,
        {[this](const std::string& status) { ui_.ftpStatus.setCaption(status); },
         [this](const std::string& step, const FtpResult& result) {
             const std::string error = "Error: " + std::to_string(result.code);
             const std::string said = result.reply.empty() ? "" : "\n" + result.reply;
             reportProblem("Die IP-Adresse wurde nicht per FTP übertragen: " + step + ", " + error +
                           (result.reply.empty() ? "" : " (" + result.reply + ")"));
             services_.dialogs.showMessage(
                 {error + said, step, MessageButtons::Ok, MessageIcon::Question});
             ui_.ftpStatus.setCaption(kDisconnected);
         },
         [this](const std::string& text) { services_.log.write(LogLevel::Warning, text); }});
}

bool MainWindow::storeFtpValues() {
    return services_.settings.writeValues(
        settings::kFtpServer.application, settings::kFtpServer.section,
        {{std::string(settings::kFtpServer.key), ui_.ftpServer.text()},
         {std::string(settings::kFtpUser.key), ui_.ftpUser.text()},
         {std::string(settings::kFtpPassword.key), ui_.ftpPassword.text()},
         {std::string(settings::kFtpDirectory.key), ui_.ftpFolder.text()}});
}

// The caption names the next press: "N" (normal) while the text is hidden, "P" while
// it is shown.
void MainWindow::onPasswordToggle(TextBox& box, CommandButton& button) {
    if (box.passwordChar() != "*") {
        box.setPasswordChar("*");
        button.setCaption("N");
    } else {
        box.setPasswordChar("");
        button.setCaption("P");
    }
    ui_.window.setFocus(&ui_.focusSink);
}

}  // namespace somnar
