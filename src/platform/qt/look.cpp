#include "platform/qt/look.h"

#include <cmath>

namespace somnar {
namespace {

constexpr const char* kSans = "Liberation Sans";
constexpr const char* kMono = "Liberation Mono";

// Sizes are set in pixels so the text fits the places whatever the screen's dpi says.
int pixelsForPoints(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
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
            return QIcon(QStringLiteral(":/icons/hibernate.png"));
        case Picture::StandbySymbol:
            return QIcon(QStringLiteral(":/icons/standby.png"));
        case Picture::OpenIcon:
            return QIcon(QStringLiteral(":/icons/open.png"));
        case Picture::InfoIcon:
            return QIcon(QStringLiteral(":/icons/info.png"));
        case Picture::None:
            break;
    }
    return {};
}

QIcon mainWindowIcon() {
    return QIcon(QStringLiteral(":/icons/window.png"));
}
QIcon infoWindowIcon() {
    return QIcon(QStringLiteral(":/icons/info-window.png"));
}

}  // namespace somnar
