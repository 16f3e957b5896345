// The main window built from its design on the fake platform, as a real Win32 window under
// Wine: each control a standard window at its place, input and model changes bound both
// ways, timers following the model, and a long call that keeps the window painting.

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/control_design.h"
#include "app/main_window_model.h"
#include "fakes/fake_platform.h"
#include "layout/control_state.h"
#include "layout/geometry.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/view/app_view.h"
#include "platform/win32/view/pumping_call.h"
#include "platform/win32/view/window_view.h"

#include <commctrl.h>
#include <shlobj.h>

namespace somnar::win32 {
namespace {

// The caption the model gives a control.
std::string caption(const Control& control) {
    switch (control.kind()) {
        case ControlKind::Label:
            return static_cast<const Label&>(control).caption();
        case ControlKind::CheckBox:
            return static_cast<const CheckBox&>(control).caption();
        case ControlKind::OptionButton:
            return static_cast<const OptionButton&>(control).caption();
        case ControlKind::Frame:
            return static_cast<const Frame&>(control).caption();
        case ControlKind::CommandButton:
            return static_cast<const CommandButton&>(control).caption();
        default:
            return "";
    }
}

struct WindowViewTest : ::testing::Test {
    testing::FakePlatform platform;
    InfoWindow info{platform.services};
    MainWindowControls ui;
    MainWindow form{platform.services, info, ui};
    std::unique_ptr<WindowView> view;

    void SetUp() override {
        form.load();
        view = std::make_unique<WindowView>(ui.window, ui.registry,
                                            WindowView::Frame{SOMNAR_ICON_WINDOW, false});
        ui.window.show();
    }
    HWND shown(const Control& control) const { return view->windowFor(&control); }
    std::string text(const Control& control) const { return windowText(shown(control)); }
    LRESULT send(const Control& control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(shown(control), message, wParam, lParam);
    }
    std::string clockText() const {
        return platform.clock.generalDateTimeText(platform.clock.now());
    }
    // Serves the window's messages for a while, as the message loop does.
    static void serve(std::chrono::milliseconds span) {
        const auto end = std::chrono::steady_clock::now() + span;
        while (std::chrono::steady_clock::now() < end) {
            MSG message{};
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                ::DispatchMessageW(&message);
            }
            ::Sleep(10);
        }
    }
};

TEST_F(WindowViewTest, EveryControlIsAStandardWindowOfItsKindAtItsPlaceWithItsText) {
    std::vector<std::string> faults;
    const auto fault = [&faults](const Control& control, const char* what) {
        faults.push_back(control.key() + ": " + what);
    };
    for (const ControlDesign& row : mainWindowDesign().controls) {
        const Control* control = ui.registry.find(controlKey(row.name, row.index));
        if (row.kind == ControlKind::Timer || row.kind == ControlKind::MenuEntry) {
            continue;
        }
        HWND window = shown(*control);
        wchar_t type[32] = {};
        ::GetClassNameW(window, type, 32);
        const std::wstring expected = row.kind == ControlKind::Picker    ? L"ComboBox"
                                      : row.kind == ControlKind::TextBox ? L"Edit"
                                      : row.kind == ControlKind::Label ||
                                              row.kind == ControlKind::Line ||
                                              row.kind == ControlKind::PictureBox ||
                                              (row.kind == ControlKind::Frame && row.borderless)
                                          ? L"Static"
                                          : L"Button";
        if (_wcsicmp(type, expected.c_str()) != 0) {
            fault(*control, "is of another window class");
        }
        RECT rect{};
        ::GetWindowRect(window, &rect);
        ::MapWindowPoints(nullptr, view->handle(), reinterpret_cast<POINT*>(&rect), 2);
        const PixelRect place =
            row.kind == ControlKind::Line
                ? lineRect(static_cast<const Line&>(*control), 96, Nesting::Flat)
                : controlRect(*control, 96, Nesting::Flat);
        if (rect.left != place.left || rect.top != place.top ||
            (!row.autoSize && row.kind != ControlKind::Picker && row.kind != ControlKind::Line &&
             rect.right - rect.left != place.width)) {
            fault(*control, "is not at its place");
        }
        const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
        // Windows makes only the selected option of a group a stop.
        if (((style & WS_TABSTOP) != 0) != (row.kind == ControlKind::OptionButton
                                                ? static_cast<const OptionButton*>(control)->value()
                                                : takesTabStop(row.kind))) {
            fault(*control, "has the wrong tab stop");
        }
        const bool captioned =
            row.kind == ControlKind::Label || row.kind == ControlKind::CheckBox ||
            row.kind == ControlKind::OptionButton ||
            (row.kind == ControlKind::Frame && !row.borderless) ||
            (row.kind == ControlKind::CommandButton && row.picture == Picture::None);
        if (captioned && windowText(window) != caption(*control)) {
            fault(*control, "shows another caption");
        }
        if (row.kind == ControlKind::OptionButton && (style & BS_TYPEMASK) != BS_RADIOBUTTON) {
            fault(*control, "is not kept exclusive by the model");
        }
    }
    EXPECT_EQ(faults, std::vector<std::string>{});
    EXPECT_EQ(text(ui.hibernateNowButton), "Ruhezustand jetzt (sofort) auslösen");
    EXPECT_EQ(send(ui.dialupPassword, EM_GETPASSWORDCHAR), L'*');
}

TEST_F(WindowViewTest, UserInputReachesTheModelAndModelChangesReachTheWindows) {
    EXPECT_FALSE(::IsWindowEnabled(shown(ui.wakeTime.day)));
    send(ui.wakeChoice[0], BM_CLICK);
    EXPECT_TRUE(ui.wakeChoice[0].value());
    EXPECT_EQ(send(ui.wakeChoice[0], BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(send(ui.wakeChoice[1], BM_GETCHECK), BST_UNCHECKED);
    EXPECT_TRUE(::IsWindowEnabled(shown(ui.wakeTime.day)));  // its frame came on

    send(ui.optionsBox, BM_CLICK);
    RECT client{};
    ::GetClientRect(view->handle(), &client);
    EXPECT_EQ(client.bottom, twipsToPixels(mainWindowDesign().fullHeight - kFrameHeightTwips, 96));

    for (const CheckBox* box : {&ui.dialupBox, &ui.publishBox, &ui.renewedSleepBox}) {
        send(*box, BM_CLICK);
        EXPECT_EQ(send(*box, BM_GETCHECK), BST_CHECKED) << box->key();
    }
    ::SetWindowTextW(shown(ui.ftpServer), L"ftp.müller.de:2121");
    EXPECT_EQ(ui.ftpServer.text(), "ftp.müller.de:2121");
    send(ui.renewedSleepSpan, CB_SETCURSEL, 4);
    ::SendMessageW(view->handle(), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(shown(ui.renewedSleepSpan)), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(shown(ui.renewedSleepSpan)));
    EXPECT_EQ(ui.renewedSleepSpan.text(), ui.renewedSleepSpan.items()[4]);

    ui.statusLine.setCaption("Verbindung getrennt – später prüfen");
    EXPECT_EQ(text(ui.statusLine), "Verbindung getrennt – später prüfen");
    ui.dialupPassword.setText("geheim");
    send(ui.dialupPasswordToggle, BM_CLICK);
    EXPECT_EQ(send(ui.dialupPassword, EM_GETPASSWORDCHAR), 0);
    EXPECT_EQ(text(ui.dialupPassword), "geheim");
    EXPECT_EQ(ui.dialupPassword.text(), "geheim");
}

TEST_F(WindowViewTest, TabVisitsTheInputsAUserCanReachInTheDesignsOrderAndComesRound) {
    std::vector<HWND> stops;
    for (const Control* control : ui.registry.controls()) {
        HWND window = shown(*control);
        if (window != nullptr && (::GetWindowLongPtrW(window, GWL_STYLE) & WS_TABSTOP) != 0 &&
            ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
            stops.push_back(window);
        }
    }
    ASSERT_GT(stops.size(), 5U);
    RECT client{};
    ::GetClientRect(view->handle(), &client);
    for (HWND stop : stops) {  // none beyond the compact window's edge
        RECT rect{};
        ::GetWindowRect(stop, &rect);
        ::MapWindowPoints(nullptr, view->handle(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_TRUE(rect.left < client.right && rect.top < client.bottom) << windowText(stop);
    }
    ::SetForegroundWindow(view->handle());
    ::SetFocus(stops[0]);
    for (std::size_t i = 1; i <= stops.size(); ++i) {
        MSG tab{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(::IsDialogMessageW(view->handle(), &tab));
        HWND focused = ::GetFocus();
        if (::GetParent(focused) != view->handle()) {
            focused = ::GetParent(focused);  // the text field of a picker
        }
        EXPECT_EQ(focused, stops[i % stops.size()]) << i;
    }
}

// What lies on what: each control on the frames that hold it and inside them, inputs on
// the labels they overlap (the dial-up picker's field begins under its label).
TEST_F(WindowViewTest, FramesHoldWhatLiesInThemAndInputsLieOnOverlappingLabels) {
    send(ui.optionsBox, BM_CLICK);
    std::map<HWND, int> depth;  // 0 on top
    for (HWND w = ::GetWindow(view->handle(), GW_CHILD); w != nullptr;
         w = ::GetWindow(w, GW_HWNDNEXT)) {
        depth.emplace(w, static_cast<int>(depth.size()));
    }
    const auto rectOf = [this](const Control& control) {
        RECT rect{};
        ::GetWindowRect(shown(control), &rect);
        ::MapWindowPoints(nullptr, view->handle(), reinterpret_cast<POINT*>(&rect), 2);
        if (control.kind() == ControlKind::Picker) {
            rect.bottom =
                rect.top + controlRect(control, 96, Nesting::Flat).height;  // without its list
        }
        return rect;
    };
    std::vector<std::string> faults;
    int overlaps = 0;
    for (const Control* control : ui.registry.controls()) {
        if (shown(*control) == nullptr) {
            continue;
        }
        const RECT inside = rectOf(*control);
        for (const Control* frame = control->container(); frame; frame = frame->container()) {
            const RECT outer = rectOf(*frame);
            if (inside.left < outer.left || inside.top < outer.top || inside.right > outer.right ||
                inside.bottom > outer.bottom || depth[shown(*control)] > depth[shown(*frame)]) {
                faults.push_back(control->key() + " in " + frame->key());
            }
        }
        for (const Control* label : ui.registry.controls()) {
            RECT common{};
            const RECT labelRect = label->kind() == ControlKind::Label ? rectOf(*label) : RECT{};
            if (takesTabStop(control->kind()) && ::IntersectRect(&common, &inside, &labelRect)) {
                ++overlaps;
                if (depth[shown(*control)] > depth[shown(*label)]) {
                    faults.push_back(control->key() + " under " + label->key());
                }
            }
        }
    }
    EXPECT_EQ(faults, std::vector<std::string>{});
    EXPECT_GT(overlaps, 0);
    for (const char* key : {"Line5(0)", "Line5(1)"}) {  // 900 twips below the frame's edge
        const Control& line = *ui.registry.find(key);
        EXPECT_EQ(rectOf(line).top - rectOf(*line.container()).top, 60) << key;
    }
}

TEST_F(WindowViewTest, TimersTickTheModelExceptDuringACallThatKeepsTheWindowPainting) {
    platform.clock.advance(std::chrono::hours(1));
    serve(std::chrono::milliseconds(700));
    EXPECT_EQ(text(ui.clockLine), clockText());

    const std::string before = text(ui.clockLine);
    platform.clock.advance(std::chrono::hours(1));
    bool painted = false;
    LRESULT answered = 0;
    PumpingCall().run([&] {
        ::InvalidateRect(view->handle(), nullptr, TRUE);
        for (int i = 0; i < 100 && !painted; ++i) {
            ::Sleep(10);
            painted = !::GetUpdateRect(view->handle(), nullptr, FALSE);
        }
        DWORD_PTR length = 0;
        answered = ::SendMessageTimeoutW(view->handle(), WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 5000,
                                         &length);
        ::PostMessageW(shown(ui.optionsBox), WM_KEYDOWN, VK_SPACE, 0);
        ::PostMessageW(shown(ui.optionsBox), WM_KEYUP, VK_SPACE, 0);
        ::Sleep(700);  // a tick of the clock falls due meanwhile
    });
    EXPECT_TRUE(painted);
    EXPECT_NE(answered, 0);
    EXPECT_EQ(text(ui.clockLine), before);
    EXPECT_EQ(ui.optionsBox.value(), CheckBox::Unchecked);
    serve(std::chrono::milliseconds(700));
    EXPECT_EQ(text(ui.clockLine), clockText());
}

// Files dropped from Explorer: a DROPFILES block with the wide paths, NUL after each.
HDROP dropOf(const std::wstring& paths) {
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + (paths.size() + 1) * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(paths.begin(), paths.end(), reinterpret_cast<wchar_t*>(drop + 1));
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(WindowViewTest, DroppedFilesTheMouseOnThePathAndANewDpiReachTheirPlaces) {
    using namespace std::string_literals;
    const std::wstring files = L"C:\\Wach auf\\start.bat\0C:\\zwei.exe\0"s;
    const std::string sample = ui.programPath.text();
    for (const std::string& expected : {sample, std::string("C:\\Wach auf\\start.bat")}) {
        ::SendMessageW(shown(ui.programPath), WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(files)),
                       0);
        EXPECT_EQ(ui.programPath.text(), expected);  // only once the box is ticked
        EXPECT_EQ(text(ui.programPath), expected);
        send(ui.programBox, BM_CLICK);
    }

    NMTTDISPINFOW tip{};
    tip.hdr.code = TTN_GETDISPINFOW;
    tip.hdr.idFrom = reinterpret_cast<UINT_PTR>(shown(ui.programPath));
    ::SendMessageW(view->handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(tip.lpszText, L"C:\\Wach auf\\start.bat");

    RECT frame = {0, 0, 100, 100};
    ::SendMessageW(view->handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&frame));
    RECT client{};
    ::GetClientRect(view->handle(), &client);
    EXPECT_EQ(client.right, twipsToPixels(mainWindowDesign().width - kFrameWidthTwips, 144));
    RECT button{};
    ::GetWindowRect(shown(ui.infoButton), &button);
    ::MapWindowPoints(nullptr, view->handle(), reinterpret_cast<POINT*>(&button), 2);
    const PixelRect place = controlRect(ui.infoButton, 144, Nesting::Flat);
    EXPECT_EQ(button.left, place.left);
    EXPECT_EQ(button.bottom - button.top, place.height);
}

// The end of the Windows session, or an uninstaller asking: what was typed is stored and
// the program ends.
TEST(WindowSessionTest, TheEndOfTheSessionStoresWhatWasTypedAndEndsTheProgram) {
    testing::FakePlatform platform;
    InfoWindow info{platform.services};
    MainWindowControls ui;
    MainWindow form{platform.services, info, ui};
    form.load();
    AppView app(form, info);
    ui.window.show();
    const auto stored = [&platform](const char* key) {
        return platform.settings.values[{"Verbindung", "Values", key}];
    };
    ui.dialupUser.setText("Jörg");
    EXPECT_EQ(::SendMessageW(app.mainView().handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(stored("Userername"), "Jörg");
    ui.dialupUser.setText("Jörg Müller");
    ::SendMessageW(app.mainView().handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(stored("Userername"), "Jörg Müller");
    EXPECT_FALSE(ui.window.loaded());
    MSG quit{};
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace somnar::win32
