#pragma once

// The window's geometry from the design's twips: 15 twips make one logical pixel at
// 96 dpi, and a monitor of another dpi scales the logical pixels.

#include "app/controls.h"

namespace somnar::win32 {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDpi = 96;

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Cuts off like the Linux window does, so both show the same pixels at 96 dpi.
int twipsToPixels(int twips, int dpi);
int pixelsToTwips(int pixels, int dpi);
// The place of a control inside the window's client area: its own place moved by the
// places of the frames that hold it.
PixelRect controlRect(const Control& control, int dpi);
// A horizontal line as a thin filled area, as thick as its border width in pixels; its
// ends count from the frame that holds it, and it ends at that frame's edges.
PixelRect lineRect(const Line& line, int dpi);
// The one or the other, by the control's kind.
PixelRect windowRect(const Control& control, int dpi);
// How many frames hold the control.
int frameDepth(const Control& control);
// The height of a font of that many points, as the negative pixel height (the em size)
// that font creation expects.
int fontHeight(double points, int dpi);
// Whether the Tab key stops at a control of this kind; the stops follow the design's
// order of the controls.
bool takesTabStop(ControlKind kind);
// Visible and enabled as the user sees it: hidden or disabled with any frame holding it.
bool shownWithContainers(const Control& control);
bool enabledWithContainers(const Control& control);

}  // namespace somnar::win32
