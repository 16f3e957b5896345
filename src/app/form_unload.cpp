// Closing the main window stores the dial-up values.

#include <iostream>

#include "app/main_window_model.h"
#include "app/settings_keys.h"

namespace somnar {

void Form1::Form_Unload() {
    SettingsStore& store = services_.settings;
    auto write = [&store](const SettingKey& at, const std::string& value) {
        if (!store.write(at.application, at.section, at.key, value)) {
            std::cerr << "somnar-scheduler: could not store " << at.application << '/' << at.section
                      << '/' << at.key << '\n';
        }
    };
    write(settings::kDialupName, cmbDFUE_Name.text());
    write(settings::kDialupUser, txtUser.text());
    write(settings::kDialupPassword, txtPassword.text());
    window.hide();
    window.setLoaded(false);
}

}  // namespace somnar
