#pragma once

// What the user sees of a control's state where the native widgets do not nest in their
// frames, and where the Tab key stops.

#include "app/controls.h"

namespace somnar {

// The stops follow the design's order of the controls.
bool takesTabStop(ControlKind kind);
// Visible and enabled as the user sees it: hidden or disabled with any frame holding it.
bool shownWithContainers(const Control& control);
bool enabledWithContainers(const Control& control);

}  // namespace somnar
