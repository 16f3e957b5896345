#pragma once

#include <optional>
#include <string>

#include "platform/tray_icon.h"
#include "platform/win32/view/handles.h"
#include "platform/win32/view/look.h"
#include "platform/win32/view/message_window.h"

#include <shellapi.h>

namespace somnar::win32 {

// The program's icon in the taskbar's notification area. The mouse on it reaches the
// logic as presses and releases; the icon comes back when Explorer restarts.
class Win32TrayIcon final : public TrayIcon {
  public:
    Win32TrayIcon();
    ~Win32TrayIcon() override;
    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

    void prepare(const std::string& tip) override;
    void add() override;
    void remove() override;
    bool available() override;

  private:
    bool handle(UINT message, LPARAM lParam);
    void show();

    std::wstring tip_;
    UniqueIcon icon_;
    bool added_ = false;
    UINT taskbarCreated_;
    MessageWindow window_;
};

// The click a mouse message on the icon stands for; none for mere movement.
std::optional<TrayClick> trayClickFor(UINT mouseMessage);

// The description of the icon `id` of `window` for Shell_NotifyIconW, the rest empty.
NOTIFYICONDATAW notifyIconData(HWND window, UINT id);

}  // namespace somnar::win32
