#pragma once

#include <string>

namespace somnar {

enum class DisplayState {
    None,         // neither DISPLAY nor WAYLAND_DISPLAY names a display
    Unreachable,  // one is named, but nothing answers there
    Reachable,
};

struct DisplayProbe {
    DisplayState state = DisplayState::None;
    std::string named;  // the display the environment names, for the message
};

// Whether the window system the environment names answers: the X server of DISPLAY (by
// connecting as Qt would) or the Wayland compositor's socket of WAYLAND_DISPLAY.
DisplayProbe probeDisplay();

}  // namespace somnar
