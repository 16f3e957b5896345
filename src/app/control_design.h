#pragma once

// The static design of a window as data: one row per control with its kind,
// container, place, caption and initial state. The model is built from it and the
// view reads it (through the controls) to build the real widgets.

#include <optional>
#include <string_view>
#include <vector>

#include "app/controls.h"

namespace somnar {

struct ControlDesign {
    std::string_view name{};
    int index = -1;
    ControlKind kind = ControlKind::Label;
    std::string_view container{};  // key of the holding frame or menu; empty: the window
    Place place{};
    LineEnds ends{};
    std::string_view caption{};  // caption or text
    std::optional<Font> font{};
    std::string_view toolTip{};
    // What a screen reader calls an input control whose caption does not say it (a
    // picker or text box with a label beside it, a picture button, a caption used twice);
    // empty: the caption.
    std::string_view accessibleName{};
    // Key of the label that stands for a picker: screen readers name a picker by its
    // label, which then carries the accessible name too.
    std::string_view label{};
    bool enabled = true;
    bool visible = true;
    int value = 0;  // check box value; 1 selects an option button
    std::string_view passwordChar{};
    Alignment alignment = Alignment::Left;
    std::optional<Rgb> foreColor{};
    Picture picture = Picture::None;
    bool buttonLook = false;
    bool borderless = false;
    bool multiLine = false;
    bool autoSize = false;  // a label that grows to fit its caption
    bool acceptsFileDrops = false;
    int interval = 0;
    int lineWidth = 1;
    LineColor lineColor = LineColor::WindowText;
};

struct WindowDesign {
    std::string_view caption;
    int width = 0;  // outer size in twips
    int height = 0;
    // The outer heights the window switches between: only the sleep area, and with the
    // options below it (0 where the window has one height).
    int compactHeight = 0;
    int fullHeight = 0;
    std::vector<ControlDesign> controls;
};

// The main window "Hibernate-Standby-Somnar-Scheduler".
const WindowDesign& mainWindowDesign();
// The info window "Somnar-Scheduler INFO".
const WindowDesign& infoWindowDesign();

// Space the window frame takes around the client area, in twips.
inline constexpr int kFrameWidthTwips = 120;
inline constexpr int kFrameHeightTwips = 510;

}  // namespace somnar
