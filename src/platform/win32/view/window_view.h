#pragma once

#include <deque>
#include <functional>
#include <memory>

#include "app/control_registry.h"
#include "app/window.h"
#include "platform/win32/view/control_windows.h"
#include "platform/win32/view/handles.h"
#include "platform/win32/view/look.h"
#include "platform/win32/view/screen_reader_names.h"
#include "platform/win32/view/timer_driver.h"
#include "platform/win32/view/tool_tips.h"

#include <shellapi.h>

namespace somnar::win32 {

// A real top-level window built from a model window and its controls, bound both ways:
// user input writes the model, model changes update the windows without echoing back.
// Generic: it knows control kinds, not control names.
class WindowView final : public WindowCommands {
  public:
    struct Frame {
        int iconId;
        bool toolWindow;  // a dialog border without its own taskbar entry
    };

    WindowView(Window& window, const ControlRegistry& controls, const Frame& frame);
    ~WindowView() override;
    WindowView(const WindowView&) = delete;
    WindowView& operator=(const WindowView&) = delete;

    HWND handle() const { return handle_.get(); }
    // The window showing a control; null for controls without one.
    HWND windowFor(const Control* control) const;
    // Stops listening to the model; the windows stay until the view is deleted.
    void detach();

    void minimize() override;
    void bringToFront() override;
    void focus(Control* control) override;
    void popUp(Control* menu) override;

    // Runs when the user closes the window with its close box.
    std::function<void()> onCloseRequest;
    // The session may end (what was typed is stored), and then it does end.
    std::function<void()> onSessionEnding;
    std::function<void()> onSessionEnd;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK dropProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR data);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void buildControls();
    void stackControlWindows();
    void giveNames(const ControlWindow& shown, ScreenReaderNames& names);
    void sync(ControlWindow& shown);
    void syncWindow();
    // The client area the model's window size shows, in pixels.
    PixelRect shownArea() const;
    void applyDpi(int dpi, const RECT& suggested);
    void onCommand(HWND from, int notification);
    void onDrop(ControlWindow& shown, HDROP drop);
    void onToolTip(LPARAM notice);
    LRESULT colour(HDC dc, HWND from, bool editable);
    ControlWindow* find(HWND window);

    Window& window_;
    const ControlRegistry& controls_;
    DWORD style_;
    DWORD extendedStyle_;
    // Declared before the window so they outlive it: its controls use them to the end.
    std::unique_ptr<Look> look_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    UniqueWindow handle_;
    std::deque<ControlWindow> shown_;
    std::unique_ptr<TimerDriver> timers_;
    std::unique_ptr<ToolTips> tips_;
    POINT placeApplied_{-1, -1};
    PixelRect areaApplied_;
    int quiet_ = 0;  // > 0 while the view itself changes its windows
    bool attached_ = true;
};

}  // namespace somnar::win32
