#pragma once

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
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace somnar
