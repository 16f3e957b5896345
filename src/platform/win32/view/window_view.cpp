#include "platform/win32/view/window_view.h"

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "app/control_design.h"
#include "layout/captions.h"
#include "layout/geometry.h"
#include "layout/stacking.h"
#include "platform/model_hold.h"
#include "platform/win32/view/popup_menu.h"
#include "platform/win32/view/screen_reader_names.h"
#include "platform/win32/wide_text.h"

#include <commctrl.h>
#include <shellapi.h>

namespace somnar::win32 {
namespace {

constexpr wchar_t kClassName[] = L"SomnarSchedulerWindow";
constexpr int kFirstControlId = 1000;
constexpr UINT_PTR kDropSubclassId = 1;

void registerClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof(type);
        type.lpfnWndProc = ::DefWindowProcW;  // replaced per window once it knows its view
        type.hInstance = ::GetModuleHandleW(nullptr);
        type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        type.lpszClassName = kClassName;
        return ::RegisterClassExW(&type);
    }();
    (void)atom;
}

bool holds(const Control& container, const Control& control) {
    for (const Control* c = control.container(); c != nullptr; c = c->container()) {
        if (c == &container) {
            return true;
        }
    }
    return false;
}

COLORREF colourOf(const Rgb& rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

WindowView::WindowView(Window& window, const ControlRegistry& controls, const Frame& frame)
    : window_(window),
      controls_(controls),
      style_(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | (frame.toolWindow ? 0 : WS_MINIMIZEBOX)),
      extendedStyle_(frame.toolWindow ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW) {
    registerClass();
    handle_.reset(::CreateWindowExW(extendedStyle_, kClassName, L"", style_, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 0, 0, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr));
    ::SetWindowLongPtrW(handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure));
    const int dpi = static_cast<int>(::GetDpiForWindow(handle()));
    look_ = std::make_unique<Look>(dpi);
    bigIcon_ = loadProgramIcon(frame.iconId, ::GetSystemMetricsForDpi(SM_CXICON, dpi));
    smallIcon_ = loadProgramIcon(frame.iconId, ::GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    ::SendMessageW(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    ::SendMessageW(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    timers_ = std::make_unique<TimerDriver>(handle());
    tips_ = std::make_unique<ToolTips>(handle());
    tips_->setDpi(dpi);
    areaApplied_ = shownArea();  // the controls are built for it
    buildControls();
    window_.setObserver([this] { syncWindow(); });
    window_.setCommands(this);
    syncWindow();
}

WindowView::~WindowView() {
    detach();
    ::SetWindowLongPtrW(handle(), GWLP_USERDATA, 0);
}

void WindowView::detach() {
    if (!attached_) {
        return;
    }
    attached_ = false;
    window_.setObserver(nullptr);
    window_.setCommands(nullptr);
    timers_->stopAll();
    for (Control* control : controls_.controls()) {
        control->setObserver(nullptr);
    }
}

HWND WindowView::windowFor(const Control* control) const {
    for (const ControlWindow& shown : shown_) {
        if (shown.control == control) {
            return shown.window;
        }
    }
    return nullptr;
}

ControlWindow* WindowView::find(HWND window) {
    for (ControlWindow& shown : shown_) {
        if (shown.window == window) {
            return &shown;
        }
    }
    return nullptr;
}

void WindowView::buildControls() {
    ScreenReaderNames names;
    int id = kFirstControlId;
    for (Control* control : controls_.controls()) {
        if (control->kind() == ControlKind::Timer) {
            timers_->drive(static_cast<Timer&>(*control));
            continue;
        }
        HWND window = createControlWindow(*control, handle(), id++);
        if (window == nullptr) {
            continue;  // menu entries: built when the menu opens
        }
        ControlWindow& shown = shown_.emplace_back(ControlWindow{control, window, {}});
        placeControlWindow(shown, *look_);
        giveNames(shown, names);
        tips_->add(window);
        if (control->kind() == ControlKind::TextBox &&
            static_cast<TextBox*>(control)->acceptsFileDrops()) {
            ::DragAcceptFiles(window, TRUE);
            ::SetWindowSubclass(window, &dropProcedure, kDropSubclassId,
                                reinterpret_cast<DWORD_PTR>(this));
        }
        control->setObserver([this, &shown] { sync(shown); });
        sync(shown);
    }
    stackControlWindows();
}

// Windows stacks siblings in the order they were made, the first on top, and Tab follows
// that order; so the inputs keep the design's order and the rest is moved.
void WindowView::stackControlWindows() {
    std::vector<const Control*> controls;
    for (const ControlWindow& shown : shown_) {
        controls.push_back(shown.control);
    }
    const StackPlan plan = stackPlan(controls);
    const auto move = [this](const Control* control, HWND place) {
        ::SetWindowPos(windowFor(control), place, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    };
    for (const Control* control : plan.toTop) {
        move(control, HWND_TOP);
    }
    for (const Control* control : plan.toBottom) {
        move(control, HWND_BOTTOM);
    }
}

void WindowView::giveNames(const ControlWindow& shown, ScreenReaderNames& names) {
    const std::string& name = shown.control->accessibleName();
    if (name.empty()) {
        return;  // the caption or the label before it names it
    }
    names.name(shown.window, name);
    if (shown.control->kind() == ControlKind::CommandButton) {
        // A picture button shows no text; its text is what screen readers read.
        ::SetWindowTextW(shown.window, widen(name).c_str());
    } else if (shown.control->kind() == ControlKind::Picker) {
        // The field of an editable picker is an input of its own to screen readers.
        names.name(::GetWindow(shown.window, GW_CHILD), name);
    }
}

void WindowView::sync(ControlWindow& shown) {
    ++quiet_;
    const PixelRect area = shownArea();
    syncControlWindow(shown, *look_, area);
    if (shown.control->kind() == ControlKind::Frame) {
        for (ControlWindow& inside : shown_) {
            if (holds(*shown.control, *inside.control)) {
                syncControlWindow(inside, *look_, area);
            }
        }
    }
    --quiet_;
}

PixelRect WindowView::shownArea() const {
    return somnar::shownArea(window_, look_->dpi());
}

void WindowView::syncWindow() {
    ++quiet_;
    ::SetWindowTextW(handle(), widen(window_.caption()).c_str());
    const int dpi = look_->dpi();
    const PixelRect client = somnar::shownArea(window_, dpi);
    RECT outer{0, 0, client.width, client.height};
    ::AdjustWindowRectExForDpi(&outer, style_, FALSE, extendedStyle_, static_cast<UINT>(dpi));
    // Only a new place from the model moves the window; the user may have moved it since.
    const POINT place{twipsToPixels(window_.left(), dpi), twipsToPixels(window_.top(), dpi)};
    const bool moved = place.x != placeApplied_.x || place.y != placeApplied_.y;
    placeApplied_ = place;
    ::SetWindowPos(handle(), nullptr, place.x, place.y, outer.right - outer.left,
                   outer.bottom - outer.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | (moved ? 0 : SWP_NOMOVE));
    if ((::IsWindowVisible(handle()) != FALSE) != window_.visible()) {
        ::ShowWindow(handle(), window_.visible() ? SW_SHOW : SW_HIDE);
    }
    --quiet_;
    if (const PixelRect area = shownArea(); area != areaApplied_) {
        areaApplied_ = area;  // what the larger or smaller window shows or hides
        for (const ControlWindow& shown : shown_) {
            showIfShown(shown, look_->dpi(), area);
        }
    }
}

void WindowView::applyDpi(int dpi, const RECT& suggested) {
    // The controls take the new fonts and pictures before the old ones are given back.
    auto old = std::exchange(look_, std::make_unique<Look>(dpi));
    for (ControlWindow& shown : shown_) {
        placeControlWindow(shown, *look_);
        sync(shown);
    }
    tips_->setDpi(dpi);
    // The window stays where Windows puts it on the new monitor, at its new size.
    placeApplied_ = {twipsToPixels(window_.left(), dpi), twipsToPixels(window_.top(), dpi)};
    syncWindow();
    ::SetWindowPos(handle(), nullptr, suggested.left, suggested.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowView::minimize() {
    ::ShowWindow(handle(), SW_MINIMIZE);
}

void WindowView::bringToFront() {
    ::SetWindowPos(handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(handle());
}

void WindowView::focus(Control* control) {
    if (HWND window = windowFor(control)) {
        // A hidden window cannot take the focus: the window itself does.
        ::SetFocus(::IsWindowVisible(window) != FALSE ? window : handle());
    }
}

void WindowView::popUp(Control* menu) {
    if (menu != nullptr) {
        popUpMenu(handle(), controls_, *menu);
    }
}

void WindowView::onCommand(HWND from, int notification) {
    ControlWindow* shown = find(from);
    if (shown == nullptr || quiet_ > 0 || !attached_ || ModelHold::engaged()) {
        return;
    }
    if (passControlInput(*shown, notification)) {
        sync(*shown);  // shows what the model made of it
    }
}

void WindowView::onDrop(ControlWindow& shown, HDROP drop) {
    std::vector<std::string> files;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        files.push_back(narrow(path));
    }
    ::DragFinish(drop);
    auto& box = static_cast<TextBox&>(*shown.control);
    if (attached_ && !ModelHold::engaged() && box.acceptsFileDrops() && !files.empty()) {
        box.userDropFiles(files);
        sync(shown);
    }
}

void WindowView::onToolTip(LPARAM notice) {
    const auto* header = reinterpret_cast<const NMHDR*>(notice);
    ControlWindow* shown = find(reinterpret_cast<HWND>(header->idFrom));
    if (shown == nullptr) {
        return;
    }
    Control& control = *shown->control;
    if (control.kind() == ControlKind::TextBox && attached_ && !ModelHold::engaged()) {
        static_cast<TextBox&>(control).userMouseMove();  // the tip shown is the one it sets
    }
    tips_->answer(notice,
                  toolTipShown(control, control.toolTip().empty() && captionCutOff(*shown)));
}

LRESULT WindowView::colour(HDC dc, HWND from, bool editable) {
    const ControlWindow* shown = find(from);
    const Control* control = shown ? shown->control : nullptr;
    std::optional<Rgb> text;
    if (control != nullptr && control->kind() == ControlKind::Label) {
        text = static_cast<const Label*>(control)->foreColor();
    } else if (control != nullptr && control->kind() == ControlKind::TextBox) {
        text = static_cast<const TextBox*>(control)->foreColor();
        editable = true;  // a read-only box keeps the white of a text field
    } else if (control != nullptr && control->kind() == ControlKind::Shape) {
        return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
    } else if (control != nullptr && control->kind() == ControlKind::Line) {
        const auto& line = static_cast<const Line&>(*control);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(
            line.color() == LineColor::ActiveTitle ? COLOR_ACTIVECAPTION : COLOR_BTNSHADOW));
    }
    if (!text && !editable) {
        return ::DefWindowProcW(handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(from));
    }
    if (text && ::IsWindowEnabled(from)) {
        ::SetTextColor(dc, colourOf(*text));
    }
    const int background = editable ? COLOR_WINDOW : COLOR_BTNFACE;
    ::SetBkColor(dc, ::GetSysColor(background));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(background));
}

LRESULT WindowView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) {
                onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            }
            return 0;
        case WM_TIMER:
            if (timers_->tick(wParam)) {
                return 0;
            }
            break;
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->code == TTN_GETDISPINFOW) {
                onToolTip(lParam);
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                          message == WM_CTLCOLOREDIT);
        case WM_DPICHANGED:
            applyDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_QUERYENDSESSION:
            // Windows may end the session, or an uninstaller asks the program to end.
            if (attached_ && onSessionEnding) {
                onSessionEnding();
            }
            return TRUE;
        case WM_ENDSESSION:
            if (wParam != FALSE && attached_ && onSessionEnd) {
                onSessionEnd();
            }
            return 0;
        case WM_CLOSE:
            // Not while a platform call waits: the window stays until it is over.
            if (!ModelHold::engaged() && attached_ && onCloseRequest) {
                onCloseRequest();
            }
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(handle(), message, wParam, lParam);
}

LRESULT CALLBACK WindowView::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<WindowView*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (view == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return view->handle(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the window system; a handler that throws is a fault.
        std::terminate();
    }
}

LRESULT CALLBACK WindowView::dropProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR /*id*/, DWORD_PTR data) {
    if (message == WM_DROPFILES) {
        auto* view = reinterpret_cast<WindowView*>(data);
        try {
            if (ControlWindow* shown = view->find(window)) {
                view->onDrop(*shown, reinterpret_cast<HDROP>(wParam));
            }
        } catch (...) {
            std::terminate();
        }
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, &dropProcedure, kDropSubclassId);
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace somnar::win32
