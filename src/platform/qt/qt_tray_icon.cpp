#include "platform/qt/qt_tray_icon.h"

#include "platform/qt/look.h"
#include "platform/qt/qt_text.h"

namespace somnar {

void QtTrayIcon::prepare(const std::string& tip) {
    tip_ = toQt(tip);
}

void QtTrayIcon::add() {
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>(mainWindowIcon());
        icon_->setToolTip(tip_);
    }
    icon_->show();
}

void QtTrayIcon::remove() {
    if (icon_) {
        icon_->hide();
    }
}

}  // namespace somnar
