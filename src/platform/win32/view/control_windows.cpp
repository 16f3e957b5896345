#include "platform/win32/view/control_windows.h"

#include <algorithm>

#include "layout/captions.h"
#include "layout/control_state.h"
#include "layout/geometry.h"
#include "platform/win32/wide_text.h"

#include <commctrl.h>

namespace somnar::win32 {
namespace {

// The drop-down list shows about twelve entries below the picker's field.
constexpr int kPickerListPixels = 12 * 14;

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD extendedStyle;
};

WindowKind kindOf(const Control& control) {
    const DWORD tab = takesTabStop(control.kind()) ? WS_TABSTOP : 0;
    switch (control.kind()) {
        case ControlKind::CommandButton: {
            const bool picture =
                static_cast<const CommandButton&>(control).picture() != Picture::None;
            return {WC_BUTTONW, BS_PUSHBUTTON | (picture ? BS_ICON : 0) | tab, 0};
        }
        case ControlKind::CheckBox:
            // Driven by the model: Windows does not tick it by itself.
            return {WC_BUTTONW,
                    (static_cast<const CheckBox&>(control).buttonLook() ? BS_CHECKBOX | BS_PUSHLIKE
                                                                        : BS_3STATE) |
                        tab,
                    0};
        case ControlKind::OptionButton:
            // Not an auto radio button: the model keeps the options exclusive.
            return {WC_BUTTONW, BS_RADIOBUTTON | tab, 0};
        case ControlKind::Picker:
            return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | tab, 0};
        case ControlKind::TextBox: {
            const auto& box = static_cast<const TextBox&>(control);
            if (box.multiLine()) {
                return {WC_EDITW, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | tab,
                        WS_EX_CLIENTEDGE};
            }
            return {WC_EDITW, ES_AUTOHSCROLL | (box.passwordChar().empty() ? 0 : ES_PASSWORD) | tab,
                    WS_EX_CLIENTEDGE};
        }
        case ControlKind::Label:
            // SS_NOTIFY: the mouse reaches it, so its tool tip shows.
            return {WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0};
        case ControlKind::Frame:
            if (static_cast<const Frame&>(control).borderless()) {
                return {WC_STATICW, SS_LEFT, 0};
            }
            return {WC_BUTTONW, BS_GROUPBOX, 0};
        case ControlKind::PictureBox:
            return {WC_STATICW, SS_ICON | SS_CENTERIMAGE | SS_NOTIFY, 0};
        case ControlKind::Line:
        case ControlKind::Shape:
            return {WC_STATICW, SS_LEFT, 0};  // filled by the window with its colour
        case ControlKind::Timer:
        case ControlKind::MenuEntry:
            break;
    }
    return {nullptr, 0, 0};
}

void setTextIfDifferent(HWND window, const std::string& text) {
    if (windowText(window) != text) {
        ::SetWindowTextW(window, widen(text).c_str());
    }
}

void setStyleBits(HWND window, LONG_PTR mask, LONG_PTR bits) {
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    if ((style & mask) != bits) {
        ::SetWindowLongPtrW(window, GWL_STYLE, (style & ~mask) | bits);
        ::InvalidateRect(window, nullptr, TRUE);
    }
}

WPARAM checkState(int value) {
    switch (value) {
        case CheckBox::Checked:
            return BST_CHECKED;
        case CheckBox::Grayed:
            return BST_INDETERMINATE;
        default:
            return BST_UNCHECKED;
    }
}

void syncPicker(ControlWindow& shown, const Picker& picker) {
    HWND combo = shown.window;
    if (shown.itemsShown != picker.items()) {
        // Handed over in one go without drawing in between: the 1440 minutes are many.
        ::SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
        ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        ::SendMessageW(combo, CB_INITSTORAGE, picker.items().size(), picker.items().size() * 12);
        for (const std::string& item : picker.items()) {
            ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
        }
        ::SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
        shown.itemsShown = picker.items();
    }
    const auto selected = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
    if (picker.listIndex() >= 0 && picker.listIndex() != selected) {
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(picker.listIndex()), 0);
    }
    setTextIfDifferent(combo, picker.text());
}

void syncTextBox(HWND edit, const TextBox& box) {
    setTextIfDifferent(edit, box.text());
    if (!box.multiLine()) {
        const WPARAM mask = box.passwordChar().empty() ? 0 : L'*';
        if (::SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0) != static_cast<LRESULT>(mask)) {
            ::SendMessageW(edit, EM_SETPASSWORDCHAR, mask, 0);
            ::InvalidateRect(edit, nullptr, TRUE);
        }
    }
    ::InvalidateRect(edit, nullptr, FALSE);  // its colour may have changed
}

}  // namespace

bool captionCutOff(const ControlWindow& shown) {
    if (shown.control->kind() != ControlKind::Label ||
        !shortensCaption(static_cast<const Label&>(*shown.control))) {
        return false;
    }
    const std::wstring text = widen(static_cast<const Label&>(*shown.control).caption());
    HWND window = shown.window;
    HDC dc = ::GetDC(window);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    RECT client{};
    ::GetClientRect(window, &client);
    return size.cx > client.right;
}

namespace {

void syncLabel(HWND window, const Label& label, Look& look) {
    LONG_PTR align = SS_LEFT;
    if (label.alignment() == Alignment::Right) {
        align = SS_RIGHT;
    } else if (label.alignment() == Alignment::Center) {
        align = SS_CENTER;
    }
    setStyleBits(window, SS_TYPEMASK | SS_ELLIPSISMASK,
                 align | (shortensCaption(label) ? SS_PATHELLIPSIS : 0));
    if (label.autoSize()) {
        RECT own{};
        ::GetWindowRect(window, &own);
        ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&own), 2);
        int right = 0;
        if (label.container() != nullptr) {
            const PixelRect frame = controlRect(*label.container(), look.dpi(), Nesting::Flat);
            right = frame.left + frame.width;
        } else {
            RECT client{};
            ::GetClientRect(::GetParent(window), &client);
            right = client.right;
        }
        const int width = autoSizedWidth(label, look.dpi(), static_cast<int>(own.left), right);
        ::SetWindowPos(window, nullptr, 0, 0, width, own.bottom - own.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    setTextIfDifferent(window, label.caption());
    ::InvalidateRect(window, nullptr, TRUE);  // its colour may have changed
}

}  // namespace

std::string windowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return narrow(text);
}

HWND createControlWindow(const Control& control, HWND parent, int id) {
    const WindowKind kind = kindOf(control);
    if (kind.className == nullptr) {
        return nullptr;
    }
    return ::CreateWindowExW(kind.extendedStyle, kind.className, L"",
                             WS_CHILD | WS_CLIPSIBLINGS | kind.style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

void placeControlWindow(const ControlWindow& shown, Look& look) {
    const Control& control = *shown.control;
    PixelRect rect = widgetRect(control, look.dpi(), Nesting::Flat);
    if (control.kind() == ControlKind::Picker) {
        rect.height += kPickerListPixels * look.dpi() / kStandardDpi;
    }
    ::SetWindowPos(shown.window, nullptr, rect.left, rect.top, rect.width, rect.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    const HFONT font = control.font() ? look.fontFor(*control.font()) : look.windowFont();
    ::SendMessageW(shown.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (control.kind() == ControlKind::PictureBox) {
        ::SendMessageW(
            shown.window, STM_SETICON,
            reinterpret_cast<WPARAM>(look.icon(static_cast<const PictureBox&>(control).picture())),
            0);
    } else if (control.kind() == ControlKind::CommandButton) {
        const Picture picture = static_cast<const CommandButton&>(control).picture();
        if (picture != Picture::None) {
            ::SendMessageW(shown.window, BM_SETIMAGE, IMAGE_ICON,
                           reinterpret_cast<LPARAM>(look.icon(picture)));
        }
    }
}

// What lies outside the shown part of the window is hidden, not merely unseen: neither Tab
// nor a screen reader reaches it.
void showIfShown(const ControlWindow& shown, int dpi, const PixelRect& shownArea) {
    const bool visible = shownWithContainers(*shown.control) &&
                         overlaps(widgetRect(*shown.control, dpi, Nesting::Flat), shownArea);
    if (((::GetWindowLongPtrW(shown.window, GWL_STYLE) & WS_VISIBLE) != 0) != visible) {
        ::ShowWindow(shown.window, visible ? SW_SHOWNA : SW_HIDE);
    }
}

void syncControlWindow(ControlWindow& shown, Look& look, const PixelRect& shownArea) {
    const Control& control = *shown.control;
    HWND window = shown.window;
    const bool enabled = enabledWithContainers(control);
    if ((::IsWindowEnabled(window) != FALSE) != enabled) {
        ::EnableWindow(window, enabled ? TRUE : FALSE);
    }
    showIfShown(shown, look.dpi(), shownArea);
    switch (control.kind()) {
        case ControlKind::CommandButton: {
            const auto& button = static_cast<const CommandButton&>(control);
            if (button.picture() == Picture::None) {
                setTextIfDifferent(window, button.caption());
            }
            break;
        }
        case ControlKind::CheckBox: {
            const auto& box = static_cast<const CheckBox&>(control);
            setTextIfDifferent(window, box.caption());
            ::SendMessageW(window, BM_SETCHECK,
                           box.buttonLook() ? (box.ticked() ? BST_CHECKED : BST_UNCHECKED)
                                            : checkState(box.value()),
                           0);
            break;
        }
        case ControlKind::OptionButton: {
            const auto& option = static_cast<const OptionButton&>(control);
            setTextIfDifferent(window, option.caption());
            ::SendMessageW(window, BM_SETCHECK, option.value() ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        }
        case ControlKind::Picker:
            syncPicker(shown, static_cast<const Picker&>(control));
            break;
        case ControlKind::TextBox:
            syncTextBox(window, static_cast<const TextBox&>(control));
            break;
        case ControlKind::Label:
            syncLabel(window, static_cast<const Label&>(control), look);
            break;
        case ControlKind::Frame: {
            const auto& frame = static_cast<const Frame&>(control);
            setTextIfDifferent(window, frame.borderless() ? std::string() : frame.caption());
            break;
        }
        case ControlKind::PictureBox:
        case ControlKind::Line:
        case ControlKind::Shape:
        case ControlKind::Timer:
        case ControlKind::MenuEntry:
            break;
    }
}

bool passControlInput(const ControlWindow& shown, int notification) {
    Control& control = *shown.control;
    switch (control.kind()) {
        case ControlKind::CommandButton:
            if (notification == BN_CLICKED) {
                static_cast<CommandButton&>(control).userClick();
                return true;
            }
            break;
        case ControlKind::CheckBox:
            if (notification == BN_CLICKED) {
                static_cast<CheckBox&>(control).userClick();
                return true;
            }
            break;
        case ControlKind::OptionButton:
            if (notification == BN_CLICKED) {
                static_cast<OptionButton&>(control).userClick();
                return true;
            }
            break;
        case ControlKind::Picker: {
            auto& picker = static_cast<Picker&>(control);
            if (notification == CBN_EDITCHANGE) {
                picker.userSetText(windowText(shown.window));
                return true;
            }
            if (notification == CBN_SELCHANGE) {
                // The field shows the chosen item only after this notice: take it from the list.
                const auto index =
                    static_cast<std::size_t>(::SendMessageW(shown.window, CB_GETCURSEL, 0, 0));
                if (index < picker.items().size()) {
                    picker.userSetText(picker.items()[index]);
                    return true;
                }
            }
            break;
        }
        case ControlKind::TextBox:
            if (notification == EN_CHANGE && !static_cast<TextBox&>(control).multiLine()) {
                static_cast<TextBox&>(control).userSetText(windowText(shown.window));
                return true;
            }
            break;
        case ControlKind::PictureBox:
            if (notification == STN_CLICKED) {
                static_cast<PictureBox&>(control).userClick();
                return true;
            }
            break;
        case ControlKind::Label:
        case ControlKind::Frame:
        case ControlKind::Line:
        case ControlKind::Shape:
        case ControlKind::Timer:
        case ControlKind::MenuEntry:
            break;
    }
    return false;
}

}  // namespace somnar::win32
