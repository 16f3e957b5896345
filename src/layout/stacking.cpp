#include "layout/stacking.h"

#include <algorithm>

#include "layout/geometry.h"

namespace somnar {

StackPlan stackPlan(const std::vector<const Control*>& controls) {
    StackPlan plan;
    std::vector<const Control*> behind;
    for (const Control* control : controls) {
        switch (control->kind()) {
            case ControlKind::Label:
                plan.toBottom.push_back(control);
                break;
            case ControlKind::Frame:
            case ControlKind::Line:
            case ControlKind::Shape:
                behind.push_back(control);
                break;
            case ControlKind::PictureBox:
                plan.toTop.push_back(control);
                break;
            default:
                break;
        }
    }
    // The deepest first, what a frame holds before the frame: each goes beneath the last.
    const auto depth = [](const Control* control) {
        return frameDepth(*control) + (control->kind() == ControlKind::Frame ? 0 : 1);
    };
    std::stable_sort(behind.begin(), behind.end(),
                     [&depth](const Control* a, const Control* b) { return depth(a) > depth(b); });
    plan.toBottom.insert(plan.toBottom.end(), behind.begin(), behind.end());
    return plan;
}

}  // namespace somnar
