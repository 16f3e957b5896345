#pragma once

// Which sibling lies on which: the inputs keep the design's order (Tab follows it), labels
// lie beneath the inputs they name, frames, lines and the white area beneath what they
// hold (a frame inside a frame on the outer one), and the small pictures on their buttons.

#include <vector>

#include "app/controls.h"

namespace somnar {

struct StackPlan {
    // Raised to the top, in this order.
    std::vector<const Control*> toTop;
    // Sent to the bottom, in this order: each one goes beneath those before it.
    std::vector<const Control*> toBottom;
};

// For controls given in the design's order.
StackPlan stackPlan(const std::vector<const Control*>& controls);

}  // namespace somnar
