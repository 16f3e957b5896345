// Choosing the program to start after waking: the open-file dialog, a dropped file,
// and the tool tip that shows the whole path.

#include "app/main_window_model.h"

namespace somnar {

void Form1::cmdOpenExe_Click() {
    // Scripts and programs without an extension are what Linux starts, so the first
    // choice also shows shell scripts and "Alle Dateien" shows every file.
    const std::vector<FileFilter> filters{
        {"EXE- oder BAT-Dateien(*.exe;*.bat)", {"*.exe", "*.bat", "*.sh"}},
        {" Alle Dateien (*.*)", {"*"}},
    };
    const auto chosen = services_.fileDialog.askOpenFileName(
        "Exe oder BAT Datei auswählen", services_.program.currentFolder(), filters);
    if (!chosen || chosen->name.empty()) {
        Text1.setText("");
        return;
    }
    std::string folder = chosen->folder;
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    Text1.setText(folder + chosen->name);
}

void Form1::Text1_OLEDragDrop(const std::vector<std::string>& files) {
    if (!files.empty()) {
        Text1.setText(files.front());
    }
}

void Form1::Text1_MouseMove() {
    Text1.setToolTip(Text1.text());
}

}  // namespace somnar
