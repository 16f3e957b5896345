#include "platform/win32/view/win32_tray_icon.h"

#include <cwchar>

#include "platform/model_hold.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/wide_text.h"

#include <shellapi.h>

namespace somnar::win32 {
namespace {

constexpr UINT kIconMessage = WM_APP + 1;
constexpr UINT kIconId = 1;

NOTIFYICONDATAW iconData(HWND window) {
    return notifyIconData(window, kIconId);
}

}  // namespace

NOTIFYICONDATAW notifyIconData(HWND window, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = id;
    return data;
}

std::optional<TrayClick> trayClickFor(UINT mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
            return TrayClick::LeftDown;
        case WM_LBUTTONUP:
            return TrayClick::LeftUp;
        case WM_LBUTTONDBLCLK:
            return TrayClick::LeftDouble;
        case WM_RBUTTONDOWN:
            return TrayClick::RightDown;
        case WM_RBUTTONUP:
            return TrayClick::RightUp;
        case WM_MBUTTONDOWN:
            return TrayClick::MiddleDown;
        case WM_MBUTTONUP:
            return TrayClick::MiddleUp;
        default:
            return std::nullopt;
    }
}

Win32TrayIcon::Win32TrayIcon()
    : taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")),
      window_([this](UINT message, WPARAM, LPARAM lParam) { return handle(message, lParam); }) {}

Win32TrayIcon::~Win32TrayIcon() {
    remove();
}

void Win32TrayIcon::prepare(const std::string& tip) {
    tip_ = widen(tip);
}

void Win32TrayIcon::add() {
    if (!icon_) {
        icon_ = loadProgramIcon(SOMNAR_ICON_WINDOW, ::GetSystemMetrics(SM_CXSMICON));
    }
    added_ = true;
    show();
}

void Win32TrayIcon::show() {
    NOTIFYICONDATAW data = iconData(window_.handle());
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kIconMessage;
    data.hIcon = icon_.get();
    std::wcsncpy(data.szTip, tip_.c_str(), std::size(data.szTip) - 1);
    if (!::Shell_NotifyIconW(NIM_MODIFY, &data)) {
        ::Shell_NotifyIconW(NIM_ADD, &data);
    }
}

void Win32TrayIcon::remove() {
    if (added_) {
        NOTIFYICONDATAW data = iconData(window_.handle());
        ::Shell_NotifyIconW(NIM_DELETE, &data);
        added_ = false;
    }
}

bool Win32TrayIcon::available() {
    return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
}

bool Win32TrayIcon::handle(UINT message, LPARAM lParam) {
    if (message == taskbarCreated_) {
        if (added_) {
            show();  // Explorer restarted and forgot the icon
        }
        return true;
    }
    if (message != kIconMessage) {
        return false;
    }
    if (const auto click = trayClickFor(static_cast<UINT>(LOWORD(lParam)));
        click && onClick && !ModelHold::engaged()) {
        onClick(*click);
    }
    return true;
}

}  // namespace somnar::win32
