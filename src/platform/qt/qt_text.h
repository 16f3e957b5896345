#pragma once

#include <QRect>
#include <QString>
#include <string>

#include "layout/geometry.h"

namespace somnar {

// The model speaks UTF-8; Qt speaks QString. Converted here, at the view's edge.
inline QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string fromQt(const QString& text) {
    return text.toStdString();
}

inline QRect toQt(const PixelRect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

// Twips to logical pixels: Qt scales these for a screen of another dpi.
inline int twipsToPixels(int twips) {
    return twipsToPixels(twips, kStandardDpi);
}

}  // namespace somnar
