#pragma once

// Where a control lies in pixels, from the design's twips: 15 twips make one logical pixel
// at 96 dpi, and a monitor of another dpi scales the logical pixels. Both views place their
// native widgets by these rules.

#include "app/controls.h"
#include "app/window.h"

namespace somnar {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDpi = 96;

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Whether a native widget lies inside the widget of its frame (and counts from it), or
// every control is a child of the window itself.
enum class Nesting { InFrames, Flat };

// Cuts off, so both views show the same pixels at 96 dpi.
int twipsToPixels(int twips, int dpi);
int pixelsToTwips(int pixels, int dpi);
bool overlaps(const PixelRect& a, const PixelRect& b);

// A control's own place; laid out flat, moved by the places of the frames that hold it.
PixelRect controlRect(const Control& control, int dpi, Nesting nesting);
// A horizontal line as a thin filled area, as thick as its border width in pixels; it ends
// at the edges of the frame that holds it.
PixelRect lineRect(const Line& line, int dpi, Nesting nesting);
// The one or the other, by the control's kind.
PixelRect widgetRect(const Control& control, int dpi, Nesting nesting);
// How many frames hold the control.
int frameDepth(const Control& control);
// The top of a control in twips of its container: a line's is where it runs.
int topTwips(const Control& control);

// The window's client area at its present outer size: what the user sees of it.
PixelRect shownArea(const Window& window, int dpi);
// A label that grows to fit its caption takes the room up to the right edge of what holds
// it (nothing lies beside these labels), never less than its designed width.
int autoSizedWidth(const Label& label, int dpi, int left, int roomRight);

// The height of a font of that many points, as the negative pixel height (the em size)
// that font creation expects.
int fontHeight(double points, int dpi);

}  // namespace somnar
