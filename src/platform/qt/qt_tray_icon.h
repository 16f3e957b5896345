#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <memory>

#include "platform/tray_icon.h"

class QMenu;

namespace somnar {

// The program's icon in the notification area. The mouse on the icon reaches the
// logic as presses and releases, so the menu can open on the release.
class QtTrayIcon : public QObject, public TrayIcon {
    Q_OBJECT
  public:
    QtTrayIcon();
    ~QtTrayIcon() override;

    void prepare(const std::string& tip) override;
    void add() override;
    void remove() override;
    bool available() override;

    // The icon's menu, which a desktop's own notification service (not one that embeds the
    // icon's window) shows beside the icon as its context menu.
    void setMenu(QMenu* menu);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void activated(QSystemTrayIcon::ActivationReason reason);
    void tell(TrayClick click);

    // Made when first added: creating it asks the desktop for its notification area,
    // which would slow every start.
    std::unique_ptr<QSystemTrayIcon> icon_;
    QString tip_;
    QPointer<QMenu> menu_;
    bool shown_ = false;
    // Set once the icon's own window has reported a mouse button: the finer messages then
    // come from there, not from the icon's summary signal.
    bool ownWindowSeen_ = false;
};

}  // namespace somnar
