#include "platform/qt/qt_file_dialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>

#include "platform/qt/qt_text.h"

namespace somnar {

std::unique_ptr<QFileDialog> QtFileDialog::makeDialog(QWidget* parent, const std::string& title,
                                                      const std::string& folder,
                                                      const std::vector<FileFilter>& filters) {
    auto dialog = std::make_unique<QFileDialog>(parent, toQt(title), toQt(folder));
    // Qt's own dialog, set before anything else: QFileDialog and the desktop's dialogs trim
    // the captions of the choices, and only the list of Qt's dialog can be given them back
    // as written (" Alle Dateien (*.*)" with its leading blank).
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // The list shows each choice's own caption; the patterns behind it stay hidden.
    dialog->setOption(QFileDialog::HideNameFilterDetails, true);
    QStringList choices;
    QStringList captions;
    for (const FileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns) {
            patterns << toQt(pattern);
        }
        captions << toQt(filter.caption);
        choices << captions.back() + QStringLiteral(" (") + patterns.join(u' ') +
                       QStringLiteral(")");
    }
    dialog->setNameFilters(choices);
    if (!choices.isEmpty()) {
        dialog->selectNameFilter(choices.first());
    }
    // The dialog picks the patterns by the position in its list, not by the text shown.
    if (auto* list = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        for (int index = 0; index < list->count() && index < captions.size(); ++index) {
            list->setItemText(index, captions.at(index));
        }
    }
    return dialog;
}

std::optional<ChosenFile> QtFileDialog::askOpenFileName(const std::string& title,
                                                        const std::string& folder,
                                                        const std::vector<FileFilter>& filters) {
    auto dialog = makeDialog(parent_.data(), title, folder, filters);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QFileInfo chosen(dialog->selectedFiles().first());
    QString chosenFolder = chosen.absolutePath();
    if (!chosenFolder.endsWith(u'/')) {
        chosenFolder += u'/';
    }
    return ChosenFile{fromQt(chosenFolder), fromQt(chosen.fileName())};
}

}  // namespace somnar
