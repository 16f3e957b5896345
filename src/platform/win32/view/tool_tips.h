#pragma once

#include <string>

#include "platform/win32/view/handles.h"

namespace somnar::win32 {

// The tool tips of one window's controls. Each tip asks for its text when it is about
// to show, so it always says what the control's model says now.
class ToolTips {
  public:
    explicit ToolTips(HWND owner);

    void add(HWND control);
    // Fills in the text the tip of a TTN_GETDISPINFOW notice shows.
    void answer(LPARAM notice, const std::string& text);
    void setDpi(int dpi);

  private:
    HWND owner_;
    UniqueWindow tips_;
    std::wstring text_;
};

}  // namespace somnar::win32
