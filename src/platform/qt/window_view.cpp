#include "platform/qt/window_view.h"

#include <QCloseEvent>
#include <QMenu>

#include "app/control_design.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/look.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/timer_driver.h"

namespace somnar {

WindowView::WindowView(Window& window, const ControlRegistry& controls, const Look& look)
    : QWidget(nullptr, look.flags), window_(window), controls_(controls) {
    setFont(windowFont());
    setWindowIcon(look.icon);
    timers_ = new TimerDriver(this);
    buildControls();
    frontRequestsSeen_ = window_.frontRequests();
    focusRequestsSeen_ = window_.focusRequests();
    window_.setObserver([this] { syncWindow(); });
    syncWindow();
}

WindowView::~WindowView() {
    detach();
}

void WindowView::detach() {
    if (!attached_) {
        return;
    }
    attached_ = false;
    window_.setObserver(nullptr);
    timers_->stopAll();
    for (Control* control : controls_.controls()) {
        control->setObserver(nullptr);
    }
}

QMenu* WindowView::menuFor(const Control* control) const {
    return menus_.value(control);
}

void WindowView::buildControls() {
    for (Control* control : controls_.controls()) {
        if (control->kind() == ControlKind::Timer) {
            timers_->drive(static_cast<Timer&>(*control));
            continue;
        }
        if (control->kind() == ControlKind::MenuEntry) {
            if (control->container() == nullptr) {
                buildMenu(*control);
            }
            continue;
        }
        QWidget* parent = control->container() ? widgets_.value(control->container()) : this;
        QWidget* widget = createControlWidget(*control, parent ? parent : this);
        widgets_.insert(control, widget);
        auto resync = [control, widget] { syncControlWidget(*control, *widget); };
        control->setObserver(resync);
        connectControlInput(*control, *widget, resync);
        resync();
    }
    // Later siblings lie on earlier ones (the small pictures on their buttons).
    for (Control* control : controls_.controls()) {
        if (QWidget* widget = widgets_.value(control);
            widget && control->kind() == ControlKind::PictureBox) {
            widget->raise();
        }
    }
}

void WindowView::buildMenu(Control& top) {
    auto* menu = new QMenu(toQt(static_cast<MenuEntry&>(top).caption()), this);
    menu->setObjectName(toQt(top.key()));
    for (Control* control : controls_.controls()) {
        if (control->container() != &top || control->kind() != ControlKind::MenuEntry) {
            continue;
        }
        auto* entry = static_cast<MenuEntry*>(control);
        QAction* action = menu->addAction(toQt(entry->caption()));
        action->setObjectName(toQt(entry->key()));
        connect(action, &QAction::triggered, this, [entry] { entry->userClick(); });
    }
    menus_.insert(&top, menu);
}

void WindowView::applyWindowSize() {
    setFixedSize(twipsToPixels(window_.width() - kFrameWidthTwips),
                 twipsToPixels(window_.height() - kFrameHeightTwips));
}

void WindowView::syncWindow() {
    setWindowTitle(toQt(window_.caption()));
    applyWindowSize();
    // Only a new place from the model moves the window; the user may have moved it since.
    const QPoint place(twipsToPixels(window_.left()), twipsToPixels(window_.top()));
    if (place != placeApplied_) {
        placeApplied_ = place;
        move(place);
    }
    if (window_.visible() != isVisible()) {
        setVisible(window_.visible());
    }
    if (window_.frontRequests() != frontRequestsSeen_) {
        frontRequestsSeen_ = window_.frontRequests();
        raise();
        activateWindow();
    }
    if (window_.focusRequests() != focusRequestsSeen_) {
        focusRequestsSeen_ = window_.focusRequests();
        if (QWidget* focused = widgets_.value(window_.focus())) {
            focused->setFocus();
        }
    }
}

void WindowView::closeEvent(QCloseEvent* event) {
    event->accept();
    if (attached_ && onCloseRequest) {
        onCloseRequest();
    }
}

}  // namespace somnar
