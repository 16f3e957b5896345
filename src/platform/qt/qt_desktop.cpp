#include "platform/qt/qt_desktop.h"

#include <QGuiApplication>
#include <QScreen>

#include "layout/geometry.h"

namespace somnar {
namespace {

QSize screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize();
}

}  // namespace

int QtDesktop::screenWidthTwips() const {
    return pixelsToTwips(screenSize().width(), kStandardDpi);
}
int QtDesktop::screenHeightTwips() const {
    return pixelsToTwips(screenSize().height(), kStandardDpi);
}

}  // namespace somnar
