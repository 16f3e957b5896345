#include "layout/control_state.h"

namespace somnar {

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

}  // namespace somnar
