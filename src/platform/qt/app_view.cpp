#include "platform/qt/app_view.h"

#include <QCoreApplication>

#include "app/control_design.h"
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

AppView::AppView(Form1& form, FrmInfo& info) : form_(form), frmInfo_(info) {
    main_ =
        new WindowView(form.window, form.registry(), form1Design(), {kMainFlags, mainWindowIcon()});
    main_->onCloseRequest = [this] { form_.Form_Unload(); };
    form.window.setLifecycleObserver([this] {
        if (!form_.window.loaded() && main_) {
            main_->detach();
            main_->hide();
            endWhenNoWindowIsLeft();
        }
    });
    info.window.setLifecycleObserver([this] { followInfoWindow(); });
}

AppView::~AppView() {
    form_.window.setLifecycleObserver(nullptr);
    frmInfo_.window.setLifecycleObserver(nullptr);
    delete info_.data();
    delete main_.data();
}

void AppView::followInfoWindow() {
    if (frmInfo_.window.loaded() && !info_) {
        info_ = new WindowView(frmInfo_.window, frmInfo_.registry(), frmInfoDesign(),
                               {kInfoFlags, infoWindowIcon()});
        info_->onCloseRequest = [this] { frmInfo_.close(); };
    } else if (!frmInfo_.window.loaded() && info_) {
        // Closing may come from inside the view's own event handler: end it later.
        info_->detach();
        info_->hide();
        info_->deleteLater();
        info_ = nullptr;
        endWhenNoWindowIsLeft();
    }
}

void AppView::endWhenNoWindowIsLeft() {
    if (!form_.window.loaded() && !frmInfo_.window.loaded()) {
        QCoreApplication::quit();
    }
}

}  // namespace somnar
