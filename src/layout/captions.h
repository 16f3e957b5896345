#pragma once

// A one-line caption too long for its label is shortened in the middle, keeping both ends
// (a message's start, a path's file name); the whole line is then the label's tool tip,
// unless the label has one of its own.

#include <string>

#include "app/controls.h"

namespace somnar {

// Whether the view shortens the caption when it does not fit: a text of several lines
// wraps instead, and a label that grows to fit its caption is never too short.
bool shortensCaption(const Label& label);
// The tip to show for a control whose caption the view found cut off (or not).
std::string toolTipShown(const Control& control, bool captionCutOff);

}  // namespace somnar
