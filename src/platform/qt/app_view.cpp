#include "platform/qt/app_view.h"

#include <QCoreApplication>

#include "platform/qt/look.h"

namespace somnar {
namespace {

constexpr Qt::WindowFlags kMainFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
// A tool window: a dialog border without its own taskbar entry.
constexpr Qt::WindowFlags kInfoFlags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

}  // namespace

AppView::AppView(MainWindow& form, InfoWindow& info) : form_(form), infoWindow_(info) {
    main_ = new WindowView(form.window(), form.registry(), {kMainFlags, mainWindowIcon()});
    main_->onCloseRequest = [this] { form_.unload(); };
    form.window().setLifecycleObserver([this] {
        if (!form_.window().loaded() && main_) {
            main_->detach();
            main_->hide();
            endWhenNoWindowIsLeft();
        }
    });
    info.window.setLifecycleObserver([this] { followInfoWindow(); });
}

AppView::~AppView() {
    form_.window().setLifecycleObserver(nullptr);
    infoWindow_.window.setLifecycleObserver(nullptr);
    delete info_.data();
    delete main_.data();
}

void AppView::followInfoWindow() {
    if (infoWindow_.window.loaded() && !info_) {
        info_ = new WindowView(infoWindow_.window, infoWindow_.registry(),
                               {kInfoFlags, infoWindowIcon()});
        info_->onCloseRequest = [this] { infoWindow_.close(); };
    } else if (!infoWindow_.window.loaded() && info_) {
        // Closing may come from inside the view's own event handler: end it later.
        info_->detach();
        info_->hide();
        info_->deleteLater();
        info_ = nullptr;
        endWhenNoWindowIsLeft();
    }
}

void AppView::endWhenNoWindowIsLeft() {
    if (!form_.window().loaded() && !infoWindow_.window.loaded()) {
        QCoreApplication::quit();
    }
}

}  // namespace somnar
