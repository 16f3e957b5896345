#pragma once

#include <functional>

#include "platform/win32/view/handles.h"

namespace somnar::win32 {

// An invisible top-level window that only receives messages: the notification-area
// icons talk to it. Top-level, not message-only, because only top-level windows hear
// that Explorer has restarted.
class MessageWindow {
  public:
    // handler: true when it dealt with the message.
    explicit MessageWindow(std::function<bool(UINT, WPARAM, LPARAM)> handler);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND handle() const { return window_.get(); }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::function<bool(UINT, WPARAM, LPARAM)> handler_;
    UniqueWindow window_;
};

}  // namespace somnar::win32
