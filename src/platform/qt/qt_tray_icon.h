#pragma once

#include <QString>
#include <QSystemTrayIcon>
#include <memory>

#include "platform/tray_icon.h"

namespace somnar {

class QtTrayIcon : public TrayIcon {
  public:
    void prepare(const std::string& tip) override;
    void add() override;
    void remove() override;

  private:
    // Made when first added: creating it asks the desktop for its notification area,
    // which would slow every start.
    std::unique_ptr<QSystemTrayIcon> icon_;
    QString tip_;
};

}  // namespace somnar
