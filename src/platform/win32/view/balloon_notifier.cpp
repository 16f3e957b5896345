#include "platform/win32/view/balloon_notifier.h"

#include <cwchar>

#include "platform/win32/resource_ids.h"
#include "platform/win32/view/look.h"
#include "platform/win32/view/win32_tray_icon.h"
#include "platform/win32/wide_text.h"

#include <shellapi.h>

namespace somnar::win32 {
namespace {

constexpr UINT kIconMessage = WM_APP + 2;
constexpr UINT kIconId = 2;

NOTIFYICONDATAW iconData(HWND window) {
    return notifyIconData(window, kIconId);
}

// The balloon's fields are short: a longer text is cut, never dropped.
template <std::size_t N>
void copyCut(wchar_t (&field)[N], const std::string& text) {
    std::wcsncpy(field, widen(text).c_str(), N - 1);
    field[N - 1] = L'\0';
}

}  // namespace

BalloonNotifier::BalloonNotifier()
    : window_([this](UINT message, WPARAM, LPARAM lParam) { return handle(message, lParam); }) {}

BalloonNotifier::~BalloonNotifier() {
    removeIcon();
}

void BalloonNotifier::notify(const std::string& summary, const std::string& body) {
    if (!icon_) {
        icon_ = loadProgramIcon(SOMNAR_ICON_WINDOW, ::GetSystemMetrics(SM_CXSMICON));
    }
    NOTIFYICONDATAW data = iconData(window_.handle());
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    data.uCallbackMessage = kIconMessage;
    data.hIcon = icon_.get();
    copyCut(data.szTip, summary);
    copyCut(data.szInfoTitle, summary);
    copyCut(data.szInfo, body);
    data.dwInfoFlags = NIIF_WARNING;
    if (!shown_ || !::Shell_NotifyIconW(NIM_MODIFY, &data)) {
        shown_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    }
}

void BalloonNotifier::removeIcon() {
    if (shown_) {
        NOTIFYICONDATAW data = iconData(window_.handle());
        ::Shell_NotifyIconW(NIM_DELETE, &data);
        shown_ = false;
    }
}

bool BalloonNotifier::handle(UINT message, LPARAM lParam) {
    if (message != kIconMessage) {
        return false;
    }
    const auto event = static_cast<UINT>(LOWORD(lParam));
    if (event == NIN_BALLOONUSERCLICK || event == NIN_BALLOONTIMEOUT) {
        removeIcon();
    }
    return true;
}

}  // namespace somnar::win32
