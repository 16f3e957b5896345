#pragma once

#include "platform/desktop.h"

namespace somnar {

// The primary screen's size, in twips of logical pixels.
class QtDesktop : public Desktop {
  public:
    int screenWidthTwips() const override;
    int screenHeightTwips() const override;
};

}  // namespace somnar
