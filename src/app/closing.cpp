// Closing the main window, or the end of the desktop session, stores the dial-up and FTP
// values, so nothing typed is lost.

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

void MainWindow::storeTypedValues(bool userThere) {
    // One message for each file that cannot take its values.
    const auto tellNotStored = [this, userThere](std::string_view application) {
        const std::string text = "Die Einstellungen konnten nicht gespeichert werden (" +
                                 services_.settings.location(application) +
                                 "). Die eingegebenen Werte gehen beim Beenden verloren.";
        services_.log.write(LogLevel::Error, text);
        if (userThere) {
            showWarning(text);
        }
    };
    if (!storeDialupValues()) {
        tellNotStored(settings::kDialupName.application);
    }
    if (!storeFtpValues()) {
        tellNotStored(settings::kFtpServer.application);
    }
}

void MainWindow::unload() {
    storeTypedValues(true);
    window.hide();
    window.setLoaded(false);
}

void MainWindow::endSession() {
    if (window.loaded()) {
        storeTypedValues(false);
        window.hide();
        window.setLoaded(false);
    }
    infoWindow_.close();
}

}  // namespace somnar
