#include "platform/win32/view/win32_dialogs.h"

#include "platform/win32/wide_text.h"

namespace somnar::win32 {
namespace {

// The box's own modal loop passes each message here first; there Escape becomes No,
// which a Yes/No box would otherwise ignore.

LRESULT CALLBACK escapeMeansNo(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE) {
        HWND box = ::GetAncestor(message->hwnd, GA_ROOT);
        if (::GetDlgItem(box, IDNO) != nullptr && ::GetDlgItem(box, IDCANCEL) == nullptr) {
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(box, IDNO)));
            return 1;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class EscapeHook {
  public:
    EscapeHook()
        : hook_(
              ::SetWindowsHookExW(WH_MSGFILTER, &escapeMeansNo, nullptr, ::GetCurrentThreadId())) {}
    ~EscapeHook() {
        if (hook_ != nullptr) {
            ::UnhookWindowsHookEx(hook_);
        }
    }
    EscapeHook(const EscapeHook&) = delete;
    EscapeHook& operator=(const EscapeHook&) = delete;

  private:
    HHOOK hook_;
};

}  // namespace

UINT messageBoxStyle(const somnar::MessageBox& box) {
    UINT style = MB_DEFBUTTON1 | MB_SETFOREGROUND;
    switch (box.buttons) {
        case MessageButtons::Ok:
            style |= MB_OK;
            break;
        case MessageButtons::OkCancel:
            style |= MB_OKCANCEL;
            break;
        case MessageButtons::YesNo:
            style |= MB_YESNO;
            break;
    }
    switch (box.icon) {
        case MessageIcon::Information:
            style |= MB_ICONINFORMATION;
            break;
        case MessageIcon::Warning:
            style |= MB_ICONWARNING;
            break;
        case MessageIcon::Question:
            style |= MB_ICONQUESTION;
            break;
        case MessageIcon::Critical:
            style |= MB_ICONERROR;
            break;
        case MessageIcon::None:
            break;
    }
    return style;
}

MessageAnswer answerFor(MessageButtons buttons, int result) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::OkCancel:
            return result == IDOK ? MessageAnswer::Ok : MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return result == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
    }
    return MessageAnswer::Cancel;
}

MessageAnswer Win32Dialogs::showMessage(const somnar::MessageBox& box) {
    const EscapeHook hook;
    const int result = ::MessageBoxW(owner_, widen(box.text).c_str(), widen(box.title).c_str(),
                                     messageBoxStyle(box));
    return answerFor(box.buttons, result);
}

}  // namespace somnar::win32
