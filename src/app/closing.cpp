// Closing the main window stores the dial-up and FTP values, so nothing typed is lost.

#include "app/main_window_model.h"
#include "app/settings_keys.h"
#include "schedule/sleep_request.h"

namespace somnar {

bool MainWindow::storeDialupValues() {
    return services_.settings.writeValues(
        settings::kDialupName.application, settings::kDialupName.section,
        {{std::string(settings::kDialupName.key), dialupName.text()},
         {std::string(settings::kDialupUser.key), dialupUser.text()},
         {std::string(settings::kDialupPassword.key), dialupPassword.text()}});
}

void MainWindow::unload() {
    // One message for each file that cannot take its values, while the user is there.
    const auto tellNotStored = [this](std::string_view application) {
        const std::string text = "Die Einstellungen konnten nicht gespeichert werden (" +
                                 services_.settings.location(application) +
                                 "). Die eingegebenen Werte gehen beim Beenden verloren.";
        services_.log.write(LogLevel::Error, text);
        showWarning(text);
    };
    if (!storeDialupValues()) {
        tellNotStored(settings::kDialupName.application);
    }
    if (!storeFtpValues()) {
        tellNotStored(settings::kFtpServer.application);
    }
    window.hide();
    window.setLoaded(false);
}

}  // namespace somnar
