#include "platform/win32/view/layout.h"

#include <algorithm>
#include <cmath>

namespace somnar::win32 {

int twipsToPixels(int twips, int dpi) {
    return static_cast<int>(static_cast<long long>(twips) * dpi / kTwipsPerInch);
}

int pixelsToTwips(int pixels, int dpi) {
    return dpi > 0 ? static_cast<int>(static_cast<long long>(pixels) * kTwipsPerInch / dpi) : 0;
}

namespace {

// Where the frames that hold a control put its origin, in twips of the window.
Place frameOrigin(const Control& control) {
    Place origin{};
    for (const Control* frame = control.container(); frame != nullptr; frame = frame->container()) {
        origin.left += frame->place().left;
        origin.top += frame->place().top;
    }
    return origin;
}

}  // namespace

PixelRect controlRect(const Control& control, int dpi) {
    const Place origin = frameOrigin(control);
    const Place& place = control.place();
    return {twipsToPixels(origin.left + place.left, dpi),
            twipsToPixels(origin.top + place.top, dpi), twipsToPixels(place.width, dpi),
            twipsToPixels(place.height, dpi)};
}

PixelRect lineRect(const Line& line, int dpi) {
    const Place origin = frameOrigin(line);
    const LineEnds& e = line.ends();
    const int thickness = std::max(1, line.borderWidth() * dpi / kStandardDpi);
    int left = twipsToPixels(origin.left + std::min(e.x1, e.x2), dpi);
    int right = twipsToPixels(origin.left + std::max(e.x1, e.x2), dpi);
    if (const Control* frame = line.container()) {
        // A frame shows what it holds only inside its edges.
        const PixelRect edges = controlRect(*frame, dpi);
        left = std::max(left, edges.left);
        right = std::min(right, edges.left + edges.width);
    }
    return {left, twipsToPixels(origin.top + e.y1, dpi) - thickness / 2, std::max(0, right - left),
            thickness};
}

PixelRect windowRect(const Control& control, int dpi) {
    return control.kind() == ControlKind::Line ? lineRect(static_cast<const Line&>(control), dpi)
                                               : controlRect(control, dpi);
}

int frameDepth(const Control& control) {
    int depth = 0;
    for (const Control* frame = control.container(); frame != nullptr; frame = frame->container()) {
        ++depth;
    }
    return depth;
}

int fontHeight(double points, int dpi) {
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

bool takesTabStop(ControlKind kind) {
    switch (kind) {
        case ControlKind::CommandButton:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::Picker:
        case ControlKind::TextBox:
            return true;
        case ControlKind::Label:
        case ControlKind::Frame:
        case ControlKind::PictureBox:
        case ControlKind::Timer:
        case ControlKind::Line:
        case ControlKind::MenuEntry:
        case ControlKind::Shape:
            break;
    }
    return false;
}

bool shownWithContainers(const Control& control) {
    for (const Control* c = &control; c != nullptr; c = c->container()) {
        if (!c->visible()) {
            return false;
        }
    }
    return true;
}

bool enabledWithContainers(const Control& control) {
    for (const Control* c = &control; c != nullptr; c = c->container()) {
        if (!c->enabled()) {
            return false;
        }
    }
    return true;
}

}  // namespace somnar::win32
