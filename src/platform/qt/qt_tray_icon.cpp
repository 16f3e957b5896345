#include "platform/qt/qt_tray_icon.h"

#include <QApplication>
#include <QMouseEvent>

#include "platform/qt/look.h"
#include "platform/qt/qt_text.h"

namespace somnar {
namespace {

// The window Qt draws the icon in where the notification area embeds windows.
constexpr const char* kIconWindowName = "QSystemTrayIconSys";

constexpr int kLeftDown = 0x201;
constexpr int kLeftUp = 0x202;
constexpr int kLeftDouble = 0x203;
constexpr int kRightDown = 0x204;
constexpr int kRightUp = 0x205;
constexpr int kMiddleDown = 0x207;
constexpr int kMiddleUp = 0x208;

int messageFor(QEvent::Type type, Qt::MouseButton button) {
    const bool down = type == QEvent::MouseButtonPress;
    switch (button) {
        case Qt::LeftButton:
            if (type == QEvent::MouseButtonDblClick) {
                return kLeftDouble;
            }
            return down ? kLeftDown : kLeftUp;
        case Qt::RightButton:
            return down ? kRightDown : kRightUp;
        case Qt::MiddleButton:
            return down ? kMiddleDown : kMiddleUp;
        default:
            return 0;
    }
}

}  // namespace

QtTrayIcon::QtTrayIcon() {
    qApp->installEventFilter(this);
}

QtTrayIcon::~QtTrayIcon() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

void QtTrayIcon::prepare(const std::string& tip) {
    tip_ = toQt(tip);
}

void QtTrayIcon::add() {
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>(mainWindowIcon());
        icon_->setToolTip(tip_);
        connect(icon_.get(), &QSystemTrayIcon::activated, this, &QtTrayIcon::activated);
    }
    icon_->show();
}

void QtTrayIcon::remove() {
    if (icon_) {
        icon_->hide();
    }
}

bool QtTrayIcon::available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtTrayIcon::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick) &&
        watched->objectName() == QLatin1String(kIconWindowName)) {
        ownWindowSeen_ = true;
        if (const int message = messageFor(type, static_cast<QMouseEvent*>(event)->button())) {
            tell(message);
        }
    }
    return QObject::eventFilter(watched, event);
}

// Where the icon lives in a desktop's own notification service, only whole clicks are
// reported: they stand for a press and its release.
void QtTrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    if (ownWindowSeen_) {
        return;
    }
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            tell(kLeftDown);
            tell(kLeftUp);
            break;
        case QSystemTrayIcon::Context:
            tell(kRightDown);
            tell(kRightUp);
            break;
        case QSystemTrayIcon::DoubleClick:
            tell(kLeftDouble);
            break;
        case QSystemTrayIcon::MiddleClick:
            tell(kMiddleDown);
            tell(kMiddleUp);
            break;
        case QSystemTrayIcon::Unknown:
            break;
    }
}

void QtTrayIcon::tell(int message) {
    if (onMouseMessage) {
        onMouseMessage(message);
    }
}

}  // namespace somnar
