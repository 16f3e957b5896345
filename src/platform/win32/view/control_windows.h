#pragma once

// One standard window per model control: created from the control's kind, kept in step
// with its properties, and passing what the user did back to it.

#include <string>
#include <vector>

#include "app/controls.h"
#include "layout/geometry.h"
#include "platform/win32/view/look.h"
#include "platform/win32/windows_api.h"

namespace somnar::win32 {

// A control and the window that shows it, with what the window shows now where asking
// the window again would be slow (a picker's 1440 minutes).
struct ControlWindow {
    Control* control = nullptr;
    HWND window = nullptr;
    std::vector<std::string> itemsShown;
};

// Creates the window of a control (hidden until synced) as a child of the top-level
// window; null for kinds without one (timers, menu entries).
HWND createControlWindow(const Control& control, HWND parent, int id);

// Moves the window to the control's place at the look's dpi and gives it its font.
void placeControlWindow(const ControlWindow& shown, Look& look);

// Brings the window in line with the control's properties; it shows only where it reaches
// into the shown area of the client area. The caller keeps the window's own change notices
// from echoing back into the model meanwhile.
void syncControlWindow(ControlWindow& shown, Look& look, const PixelRect& shownArea);

// Shows the window where the control is shown and reaches into the shown area; hides it
// elsewhere (part of syncing it, and all that a new window size changes).
void showIfShown(const ControlWindow& shown, int dpi, const PixelRect& shownArea);

// Passes a notice of the window (WM_COMMAND's code) to the control as user input; true
// when the control was told, so the window should show what the model made of it.
bool passControlInput(const ControlWindow& shown, int notification);

// Whether a label's one-line caption is wider than the label shows.
bool captionCutOff(const ControlWindow& shown);

// The window's text as UTF-8.
std::string windowText(HWND window);

}  // namespace somnar::win32
