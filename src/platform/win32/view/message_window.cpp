#include "platform/win32/view/message_window.h"

#include <exception>

namespace somnar::win32 {
namespace {

constexpr wchar_t kClassName[] = L"SomnarSchedulerNotify";

}  // namespace

MessageWindow::MessageWindow(std::function<bool(UINT, WPARAM, LPARAM)> handler)
    : handler_(std::move(handler)) {
    static const ATOM atom = [] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof(type);
        type.lpfnWndProc = &MessageWindow::procedure;
        type.hInstance = ::GetModuleHandleW(nullptr);
        type.lpszClassName = kClassName;
        return ::RegisterClassExW(&type);
    }();
    (void)atom;
    window_.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), this));
}

MessageWindow::~MessageWindow() {
    ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK MessageWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<MessageWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    try {
        if (self != nullptr && self->handler_ && self->handler_(message, wParam, lParam)) {
            return 0;
        }
    } catch (...) {
        std::terminate();  // nothing may unwind through the window system
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace somnar::win32
