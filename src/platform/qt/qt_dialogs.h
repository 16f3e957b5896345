#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/dialogs.h"

namespace somnar {

// Message boxes with German buttons, modal to the main window.
class QtDialogs : public Dialogs {
  public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    MessageAnswer showMessage(const MessageBox& box) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace somnar
