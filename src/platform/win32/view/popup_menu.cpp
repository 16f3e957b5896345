#include "platform/win32/view/popup_menu.h"

#include <vector>

#include "platform/win32/view/handles.h"
#include "platform/win32/wide_text.h"

namespace somnar::win32 {

void popUpMenu(HWND owner, const ControlRegistry& controls, const Control& menu) {
    const UniqueMenu popup(::CreatePopupMenu());
    std::vector<MenuEntry*> entries;
    for (Control* control : controls.controls()) {
        if (control->container() != &menu || control->kind() != ControlKind::MenuEntry ||
            !control->visible()) {
            continue;
        }
        auto* entry = static_cast<MenuEntry*>(control);
        entries.push_back(entry);
        ::AppendMenuW(popup.get(), MF_STRING | (entry->acceptsInput() ? 0 : MF_GRAYED),
                      entries.size(), widen(entry->caption()).c_str());
    }
    POINT at{};
    ::GetCursorPos(&at);
    // Without being the foreground window the menu would not close on a click elsewhere
    // when opened from the notification area.
    ::SetForegroundWindow(owner);
    const auto chosen = static_cast<std::size_t>(
        ::TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0,
                         owner, nullptr));
    ::PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen >= 1 && chosen <= entries.size()) {
        entries[chosen - 1]->userClick();
    }
}

}  // namespace somnar::win32
