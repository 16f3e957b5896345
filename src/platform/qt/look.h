#pragma once

#include <QFont>
#include <QIcon>

#include "app/controls.h"

namespace somnar {

// The window's own font: a small sans-serif whose widths fit the designed places.
QFont windowFont();
// The font a control's design names, mapped to fonts Debian ships.
QFont fontFor(const Font& design);
QIcon iconFor(Picture picture);
QIcon mainWindowIcon();
QIcon infoWindowIcon();

}  // namespace somnar
