#pragma once

#include <memory>
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
    // The probe's connection to the X server, kept until Qt has its own: an X server that
    // resets when its last client leaves (a bare Xvfb) would otherwise refuse Qt for a
    // moment, and Qt aborts then.
    std::shared_ptr<void> connection;
};

// Whether the window system the environment names answers: the X server of DISPLAY (by
// connecting as Qt would) or the Wayland compositor's socket of WAYLAND_DISPLAY. Qt aborts
// the program when it reaches no display, so this is asked first.
DisplayProbe probeDisplay();

}  // namespace somnar
