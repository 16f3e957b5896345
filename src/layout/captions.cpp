#include "layout/captions.h"

namespace somnar {

bool shortensCaption(const Label& label) {
    return !label.autoSize() && label.caption().find('\n') == std::string::npos;
}

std::string toolTipShown(const Control& control, bool captionCutOff) {
    if (!control.toolTip().empty() || !captionCutOff || control.kind() != ControlKind::Label) {
        return control.toolTip();
    }
    return static_cast<const Label&>(control).caption();
}

}  // namespace somnar
