#include "platform/qt/look.h"

#include <QImage>
#include <QPixmap>
#include <cmath>

#include "platform/qt/icon_pixels.h"

namespace somnar {
namespace {

constexpr const char* kSans = "Liberation Sans";
constexpr const char* kMono = "Liberation Mono";

// Sizes are set in pixels so the text fits the places whatever the screen's dpi says.
int pixelsForPoints(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

// Built from the pixels themselves: reading an image file would first look through all of
// Qt's image plugins.
QIcon iconNamed(std::string_view name) {
    for (const IconPixels& icon : allIconPixels()) {
        if (icon.name == name) {
            return QIcon(
                QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(icon.argb), icon.width,
                                          icon.height, QImage::Format_ARGB32)));
        }
    }
    return {};
}

}  // namespace

QFont windowFont() {
    QFont font(kSans);
    // About 7.5 pt, a little condensed: the widths of the 8 pt bitmap font the places
    // were laid out for.
    font.setPixelSize(10);
    font.setStretch(96);
    return font;
}

QFont fontFor(const Font& design) {
    const bool fixedPitch = design.family == "Courier New";
    QFont font(fixedPitch ? kMono : kSans);
    font.setStyleHint(fixedPitch ? QFont::Monospace : QFont::SansSerif);
    font.setPixelSize(pixelsForPoints(design.sizePt));
    font.setBold(design.bold);
    return font;
}

QIcon iconFor(Picture picture) {
    switch (picture) {
        case Picture::HibernationSymbol:
            return iconNamed("hibernate");
        case Picture::StandbySymbol:
            return iconNamed("standby");
        case Picture::OpenIcon:
            return iconNamed("open");
        case Picture::InfoIcon:
            return iconNamed("info");
        case Picture::None:
            break;
    }
    return {};
}

QIcon mainWindowIcon() {
    return iconNamed("window");
}
QIcon infoWindowIcon() {
    return iconNamed("info-window");
}

}  // namespace somnar
