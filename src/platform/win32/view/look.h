#pragma once

// The fonts and pictures of one window at its monitor's dpi. A window whose dpi changes
// makes a new look, hands it to its controls and only then lets the old one go.

#include <map>
#include <utility>
#include <vector>

#include "app/controls.h"
#include "platform/win32/view/handles.h"

namespace somnar::win32 {

class Look {
  public:
    explicit Look(int dpi) : dpi_(dpi) {}

    int dpi() const { return dpi_; }
    // The window's own font: the system's dialog font at 7.5 points.
    HFONT windowFont();
    // The font a control's design names, at its size.
    HFONT fontFor(const Font& design);
    // A picture as a small icon (16 pixels at 96 dpi); null for none.
    HICON icon(Picture picture);

  private:
    HFONT make(const Font& design);

    int dpi_;
    std::vector<std::pair<Font, UniqueFont>> fonts_;
    std::map<Picture, UniqueIcon> icons_;
};

// One of the program's icons from its resources, drawn at the size asked for.
UniqueIcon loadProgramIcon(int resourceId, int size);

}  // namespace somnar::win32
