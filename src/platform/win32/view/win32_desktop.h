#pragma once

#include "platform/desktop.h"

namespace somnar::win32 {

// The primary monitor's work area (without the taskbar), in twips of logical pixels.
class Win32Desktop final : public Desktop {
  public:
    int screenWidthTwips() const override;
    int screenHeightTwips() const override;
};

}  // namespace somnar::win32
