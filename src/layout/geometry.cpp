#include "layout/geometry.h"

#include <algorithm>
#include <cmath>

#include "app/control_design.h"

namespace somnar {

int twipsToPixels(int twips, int dpi) {
    return static_cast<int>(static_cast<long long>(twips) * dpi / kTwipsPerInch);
}

int pixelsToTwips(int pixels, int dpi) {
    return dpi > 0 ? static_cast<int>(static_cast<long long>(pixels) * kTwipsPerInch / dpi) : 0;
}

bool overlaps(const PixelRect& a, const PixelRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

namespace {

// Where the frames that hold a control put its origin, in twips of the window.
Place frameOrigin(const Control& control, Nesting nesting) {
    Place origin{};
    if (nesting == Nesting::InFrames) {
        return origin;
    }
    for (const Control* frame = control.container(); frame != nullptr; frame = frame->container()) {
        origin.left += frame->place().left;
        origin.top += frame->place().top;
    }
    return origin;
}

}  // namespace

PixelRect controlRect(const Control& control, int dpi, Nesting nesting) {
    const Place origin = frameOrigin(control, nesting);
    const Place& place = control.place();
    return {twipsToPixels(origin.left + place.left, dpi),
            twipsToPixels(origin.top + place.top, dpi), twipsToPixels(place.width, dpi),
            twipsToPixels(place.height, dpi)};
}

PixelRect lineRect(const Line& line, int dpi, Nesting nesting) {
    const Place origin = frameOrigin(line, nesting);
    const LineEnds& e = line.ends();
    const int thickness = std::max(1, line.borderWidth() * dpi / kStandardDpi);
    int left = twipsToPixels(origin.left + std::min(e.x1, e.x2), dpi);
    int right = twipsToPixels(origin.left + std::max(e.x1, e.x2), dpi);
    if (const Control* frame = line.container()) {
        // A frame shows what it holds only inside its edges; nested, they count from 0.
        const PixelRect edges = controlRect(*frame, dpi, nesting);
        const int frameLeft = nesting == Nesting::Flat ? edges.left : 0;
        left = std::max(left, frameLeft);
        right = std::min(right, frameLeft + edges.width);
    }
    return {left, twipsToPixels(origin.top + e.y1, dpi) - thickness / 2, std::max(0, right - left),
            thickness};
}

PixelRect widgetRect(const Control& control, int dpi, Nesting nesting) {
    return control.kind() == ControlKind::Line
               ? lineRect(static_cast<const Line&>(control), dpi, nesting)
               : controlRect(control, dpi, nesting);
}

int frameDepth(const Control& control) {
    int depth = 0;
    for (const Control* frame = control.container(); frame != nullptr; frame = frame->container()) {
        ++depth;
    }
    return depth;
}

int topTwips(const Control& control) {
    return control.kind() == ControlKind::Line ? static_cast<const Line&>(control).ends().y1
                                               : control.place().top;
}

PixelRect shownArea(const Window& window, int dpi) {
    return {0, 0, twipsToPixels(window.width() - kFrameWidthTwips, dpi),
            twipsToPixels(window.height() - kFrameHeightTwips, dpi)};
}

int autoSizedWidth(const Label& label, int dpi, int left, int roomRight) {
    return std::max(twipsToPixels(label.place().width, dpi), roomRight - left);
}

int fontHeight(double points, int dpi) {
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

}  // namespace somnar
