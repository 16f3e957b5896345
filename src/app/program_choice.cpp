// Choosing the program to start after waking in the open-file dialog.

#include "app/main_window_model.h"

namespace somnar {

void MainWindow::onChooseProgram() {
    // Scripts and programs without an extension are what Linux starts, so the first
    // choice also shows shell scripts and "Alle Dateien" shows every file.
    const std::vector<FileFilter> filters{
        {"EXE- oder BAT-Dateien(*.exe;*.bat)", {"*.exe", "*.bat", "*.sh"}},
        {" Alle Dateien (*.*)", {"*"}},
    };
    const auto chosen = services_.fileDialog.askOpenFileName(
        "Exe oder BAT Datei auswählen", services_.program.currentFolder(), filters);
    if (!chosen || chosen->name.empty()) {
        ui_.programPath.setText("");
        return;
    }
    std::string folder = chosen->folder;
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    ui_.programPath.setText(folder + chosen->name);
}

}  // namespace somnar
