#include "platform/qt/qt_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include "platform/qt/qt_text.h"

namespace somnar {

std::unique_ptr<QFileDialog> QtFileDialog::makeDialog(QWidget* parent, const std::string& title,
                                                      const std::string& folder,
                                                      const std::vector<FileFilter>& filters) {
    auto dialog = std::make_unique<QFileDialog>(parent, toQt(title), toQt(folder));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // The list shows each choice's own caption; the patterns behind it stay hidden.
    dialog->setOption(QFileDialog::HideNameFilterDetails, true);
    QStringList choices;
    for (const FileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns) {
            patterns << toQt(pattern);
        }
        choices << toQt(filter.caption) + QStringLiteral(" (") + patterns.join(u' ') +
                       QStringLiteral(")");
    }
    dialog->setNameFilters(choices);
    if (!choices.isEmpty()) {
        dialog->selectNameFilter(choices.first());
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
