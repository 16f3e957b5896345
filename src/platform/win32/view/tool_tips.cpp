#include "platform/win32/view/tool_tips.h"

#include "layout/geometry.h"
#include "platform/win32/wide_text.h"

#include <commctrl.h>

namespace somnar::win32 {
namespace {

// Long tips wrap at this width instead of running across the screen.
constexpr int kTipWidthPixels = 400;

}  // namespace

ToolTips::ToolTips(HWND owner)
    : owner_(owner),
      tips_(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr)) {
    setDpi(kStandardDpi);
}

void ToolTips::add(HWND control) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(tips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTips::answer(LPARAM notice, const std::string& text) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(notice);
    text_ = widen(text);
    info->lpszText = text_.data();
}

void ToolTips::setDpi(int dpi) {
    ::SendMessageW(tips_.get(), TTM_SETMAXTIPWIDTH, 0, kTipWidthPixels * dpi / kStandardDpi);
}

}  // namespace somnar::win32
