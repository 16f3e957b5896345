#include "platform/qt/qt_desktop.h"

#include <QGuiApplication>
#include <QScreen>

namespace somnar {
namespace {

QSize screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize();
}

}  // namespace

int QtDesktop::screenWidthTwips() const {
    return screenSize().width() * 15;
}
int QtDesktop::screenHeightTwips() const {
    return screenSize().height() * 15;
}

}  // namespace somnar
