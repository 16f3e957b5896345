#include "platform/qt/qt_tray_icon.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <optional>

#include "platform/model_hold.h"
#include "platform/qt/look.h"
#include "platform/qt/qt_text.h"

namespace somnar {
namespace {

// The window Qt draws the icon in where the notification area embeds windows.
constexpr const char* kIconWindowName = "QSystemTrayIconSys";

std::optional<TrayClick> clickFor(QEvent::Type type, Qt::MouseButton button) {
    const bool down = type == QEvent::MouseButtonPress;
    switch (button) {
        case Qt::LeftButton:
            if (type == QEvent::MouseButtonDblClick) {
                return TrayClick::LeftDouble;
            }
            return down ? TrayClick::LeftDown : TrayClick::LeftUp;
        case Qt::RightButton:
            return down ? TrayClick::RightDown : TrayClick::RightUp;
        case Qt::MiddleButton:
            return down ? TrayClick::MiddleDown : TrayClick::MiddleUp;
        default:
            return std::nullopt;
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
    shown_ = true;
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>(mainWindowIcon());
        icon_->setToolTip(tip_);
        connect(icon_.get(), &QSystemTrayIcon::activated, this, &QtTrayIcon::activated);
    }
    icon_->show();
    // A notification service of the desktop's own shows the menu itself, where it belongs;
    // where the icon's window is embedded, its right button stays without a menu.
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool embedded = std::ranges::any_of(windows, [](const QWidget* window) {
        return window->objectName() == QLatin1String(kIconWindowName);
    });
    if (!embedded && icon_->contextMenu() != menu_) {
        icon_->setContextMenu(menu_);
    }
}

// The menu entry that removes the icon may run while Qt still delivers an event to the
// icon's own window: the window goes once that delivery is over.
void QtTrayIcon::remove() {
    shown_ = false;
    QTimer::singleShot(0, this, [this] {
        if (icon_ && !shown_) {
            icon_->hide();
        }
    });
}

void QtTrayIcon::setMenu(QMenu* menu) {
    menu_ = menu;
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
        if (const auto click = clickFor(type, static_cast<QMouseEvent*>(event)->button())) {
            tell(*click);
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
            tell(TrayClick::LeftDown);
            tell(TrayClick::LeftUp);
            break;
        case QSystemTrayIcon::Context:
            tell(TrayClick::RightDown);
            tell(TrayClick::RightUp);
            break;
        case QSystemTrayIcon::DoubleClick:
            tell(TrayClick::LeftDouble);
            break;
        case QSystemTrayIcon::MiddleClick:
            tell(TrayClick::MiddleDown);
            tell(TrayClick::MiddleUp);
            break;
        case QSystemTrayIcon::Unknown:
            break;
    }
}

// Told from the event loop, not from within the event or the desktop's call that reported
// the click: the menu that opens then runs an event loop of its own, and neither the icon's
// window nor the caller on the bus may wait for it.
void QtTrayIcon::tell(TrayClick click) {
    if (ModelHold::engaged()) {
        return;  // a click while a request waits is not kept for later
    }
    QTimer::singleShot(0, this, [this, click] {
        if (onClick && !ModelHold::engaged()) {
            onClick(click);
        }
    });
}

}  // namespace somnar
