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

PixelRect controlRect(const Control& control, int dpi) {
    Place place = control.place();
    for (const Control* frame = control.container(); frame != nullptr; frame = frame->container()) {
        place.left += frame->place().left;
        place.top += frame->place().top;
    }
    return {twipsToPixels(place.left, dpi), twipsToPixels(place.top, dpi),
            twipsToPixels(place.width, dpi), twipsToPixels(place.height, dpi)};
}

PixelRect lineRect(const Line& line, int dpi) {
    const LineEnds& e = line.ends();
    const int thickness = std::max(1, line.borderWidth() * dpi / kStandardDpi);
    const int left = twipsToPixels(std::min(e.x1, e.x2), dpi);
    const int right = twipsToPixels(std::max(e.x1, e.x2), dpi);
    return {left, twipsToPixels(e.y1, dpi) - thickness / 2, right - left, thickness};
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
