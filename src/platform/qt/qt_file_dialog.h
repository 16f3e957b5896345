#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/file_dialog.h"

class QFileDialog;

namespace somnar {

// Qt's own open-file dialog: an existing file, the given choices of file types with their
// captions exactly as written.
class QtFileDialog : public FileDialog {
  public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }

    std::optional<ChosenFile> askOpenFileName(const std::string& title, const std::string& folder,
                                              const std::vector<FileFilter>& filters) override;

    // The dialog as it will be shown; kept apart so its set-up can be checked.
    static std::unique_ptr<QFileDialog> makeDialog(QWidget* parent, const std::string& title,
                                                   const std::string& folder,
                                                   const std::vector<FileFilter>& filters);

  private:
    QPointer<QWidget> parent_;
};

}  // namespace somnar
