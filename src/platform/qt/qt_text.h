#pragma once

#include <QString>
#include <string>

namespace somnar {

// The model speaks UTF-8; Qt speaks QString. Converted here, at the view's edge.
inline QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string fromQt(const QString& text) {
    return text.toStdString();
}

// Twips to logical pixels: 15 twips per pixel on a 96-dpi screen.
inline int twipsToPixels(int twips) {
    return twips / 15;
}

}  // namespace somnar
