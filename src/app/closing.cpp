// Closing the main window, or the end of the desktop session, stores the dial-up and FTP
// values, so nothing typed is lost.

#include "app/main_window_model.h"
#include "common/settings_keys.h"
#include "schedule/sleep_request.h"

namespace somnar {

bool MainWindow::storeDialupValues() {
    return services_.settings.writeValues(
        settings::kDialupName.application, settings::kDialupName.section,
        {{std::string(settings::kDialupName.key), ui_.dialupName.text()},
         {std::string(settings::kDialupUser.key), ui_.dialupUser.text()},
         {std::string(settings::kDialupPassword.key), ui_.dialupPassword.text()}});
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
    ui_.window.hide();
    ui_.window.setLoaded(false);
}

void MainWindow::endSession() {
    if (ui_.window.loaded()) {
        storeTypedValues(false);
        ui_.window.hide();
        ui_.window.setLoaded(false);
    }
    infoWindow_.close();
}

}  // namespace somnar
