#include "platform/qt/window_view.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "app/control_design.h"
#include "layout/geometry.h"
#include "layout/stacking.h"
#include "platform/model_hold.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/late_content.h"
#include "platform/qt/look.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/timer_driver.h"
#include "platform/startup_steps.h"

namespace somnar {

WindowView::WindowView(Window& window, const ControlRegistry& controls, const Look& look)
    : QMainWindow(nullptr, look.flags), window_(window), controls_(controls) {
    setFont(windowFont());
    setWindowIcon(look.icon);
    timers_ = new TimerDriver(this);
    SOMNAR_STARTUP_STEP("widgets: the shown part");
    buildControls();
    window_.setObserver([this] { syncWindow(); });
    window_.setCommands(this);
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
    window_.setCommands(nullptr);
    timers_->stopAll();
    for (Control* control : controls_.controls()) {
        control->setObserver(nullptr);
    }
}

QMenu* WindowView::menuFor(const Control* control) const {
    return menus_.value(control);
}

namespace {

constexpr int kLaterBuildFallbackMs = 200;

// Qt lays later siblings on earlier ones and a frame's widgets on the frame: of the stacking
// rules only the pictures need raising onto their buttons.
void raisePictures(const QList<Control*>& controls,
                   const QHash<const Control*, QWidget*>& widgets) {
    for (const Control* control : stackPlan({controls.begin(), controls.end()}).toTop) {
        if (QWidget* widget = widgets.value(control)) {
            widget->raise();
        }
    }
}

}  // namespace

QWidget* WindowView::widgetFor(const Control* control) {
    if (!widgets_.contains(control) && !later_.isEmpty()) {
        buildAllControls();
    }
    return widgets_.value(control);
}

void WindowView::buildControls() {
    // What lies below the shown part of the window is built after the window shows,
    // so the window appears sooner.
    const int shownHeight = window_.height() - kFrameHeightTwips;
    QList<Control*> built;
    for (Control* control : controls_.controls()) {
        if (control->kind() == ControlKind::Timer) {
            timers_->drive(static_cast<Timer&>(*control));
        } else if (control->kind() == ControlKind::MenuEntry) {
            if (control->container() == nullptr) {
                buildMenu(*control);
            }
        } else if (control->container() == nullptr ? topTwips(*control) >= shownHeight
                                                   : !widgets_.contains(control->container())) {
            later_.append(control);
        } else {
            buildControl(*control);
            built.append(control);
        }
    }
    raisePictures(built, widgets_);
    if (!later_.isEmpty()) {
        // Normally the first paint starts the rest; this covers a window never painted.
        QTimer::singleShot(kLaterBuildFallbackMs, this, [this] { buildAllControls(); });
    }
}

void WindowView::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
#ifdef SOMNAR_STARTUP_STEPS
    // Children paint after this handler: the paint is over when the queue is next read.
    QTimer::singleShot(0, this, [] { SOMNAR_STARTUP_PAINTED(); });
#endif
    if (!later_.isEmpty()) {
        // Painted means shown on screen: the rest is built right after this paint.
        QTimer::singleShot(0, this, [this] { buildAllControls(); });
    }
}

void WindowView::buildAllControls() {
    const QList<Control*> pending = std::exchange(later_, {});
    for (Control* control : pending) {
        buildControl(*control);
    }
    raisePictures(pending, widgets_);
    finishLateContent();  // such as in a window never painted
}

void WindowView::finishLateContent() {
    for (QWidget* widget : std::as_const(widgets_)) {
        if (auto* late = dynamic_cast<LateContent*>(widget)) {
            late->finishContent();
        }
    }
}

void WindowView::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!exposeWatched_ && windowHandle() != nullptr) {
        exposeWatched_ = true;
        windowHandle()->installEventFilter(this);
    }
}

bool WindowView::eventFilter(QObject* watched, QEvent* event) {
    // The window is on screen and about to paint: what waits for it comes now, all at once,
    // rather than widget by widget from within the paint.
    if (watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        finishLateContent();
    }
    return QMainWindow::eventFilter(watched, event);
}

void WindowView::buildControl(Control& control) {
    SOMNAR_STARTUP_STEP("widgets: built, each");
    QWidget* parent = control.container() ? widgets_.value(control.container()) : this;
    QWidget* widget = createControlWidget(control, parent ? parent : this);
    widgets_.insert(&control, widget);
    nameForScreenReaders(control, *widget);
    auto resync = [this, &control, widget] { syncControl(control, *widget); };
    control.setObserver(resync);
    if (control.kind() == ControlKind::OptionButton) {
        // Qt changes the other options of the group along with the one chosen.
        connectControlInput(control, *widget, [this, &control] { syncOptionsBeside(control); });
    } else {
        connectControlInput(control, *widget, resync);
    }
    SOMNAR_STARTUP_STEP("widgets: filled, each (part of built)");
    resync();
}

void WindowView::syncControl(const Control& control, QWidget& widget) {
    syncControlWidget(control, widget);
    showIfShown(control, widget);
}

// What lies outside the shown part of the window is hidden, not merely unseen: neither Tab
// nor a screen reader reaches it, and no key changes it unnoticed.
void WindowView::showIfShown(const Control& control, QWidget& widget) const {
    widget.setVisible(control.visible() && liesInShownArea(widget));
}

void WindowView::syncOptionsBeside(const Control& option) {
    for (Control* other : controls_.controls()) {
        if (other->kind() == ControlKind::OptionButton &&
            other->container() == option.container()) {
            if (QWidget* widget = widgets_.value(other)) {
                syncControl(*other, *widget);
            }
        }
    }
}

QRect WindowView::shownArea() const {
    return toQt(somnar::shownArea(window_, kStandardDpi));
}

bool WindowView::liesInShownArea(const QWidget& widget) const {
    return shownArea().intersects(QRect(widget.mapTo(this, QPoint(0, 0)), widget.size()));
}

void WindowView::nameForScreenReaders(const Control& control, QWidget& widget) {
    if (control.accessibleName().empty()) {
        return;  // the caption names it
    }
    const QString name = toQt(control.accessibleName());
    widget.setAccessibleName(name);  // a picker's typing field takes it when it is built
    // The label comes before the picker in the design, so its widget is built.
    if (auto* label = qobject_cast<QLabel*>(widgets_.value(control.label()))) {
        label->setBuddy(&widget);
        label->setAccessibleName(name);
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
    // On Wayland no program places its own windows, and a pop-up menu opened while the
    // window is away (from the tray) becomes a window of its own, which a tiling compositor
    // stretches over the screen; at a fixed size it floats, as a dialog does.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        menu->setFixedSize(menu->sizeHint());
    }
    menus_.insert(&top, menu);
}

void WindowView::applyWindowSize() {
    if (!later_.isEmpty() &&
        window_.height() - kFrameHeightTwips > pixelsToTwips(height(), kStandardDpi)) {
        buildAllControls();
    }
    const bool resized = size() != shownArea().size();
    setFixedSize(shownArea().size());
    if (!resized) {
        return;
    }
    for (auto built = widgets_.cbegin(); built != widgets_.cend(); ++built) {
        showIfShown(*built.key(), *built.value());
    }
    keepOnScreen();
}

// Where programs may place their windows (X11), a window grown past the edge of its screen
// moves back onto it, so the options opened below are not left off a small screen.
void WindowView::keepOnScreen() {
    if (!isVisible() || screen() == nullptr ||
        QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    const QRect room = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const QPoint inside(
        std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width())),
        std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height())));
    if (inside != frame.topLeft()) {
        move(inside);
    }
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
}

void WindowView::minimize() {
    showMinimized();
}

void WindowView::bringToFront() {
    raise();
    activateWindow();
}

void WindowView::focus(Control* control) {
    QWidget* focused = widgets_.value(control);
    if (focused == nullptr) {
        return;
    }
    // A control outside the shown part (the focus target) is hidden: the window itself
    // takes the focus away from where it was, and a screen reader names the window.
    if (focused->isVisibleTo(this)) {
        focused->setFocus();
    } else {
        setFocus();
    }
}

void WindowView::popUp(Control* menu) {
    if (QMenu* shown = menuFor(menu)) {
        shown->exec(QCursor::pos());
    }
}

void WindowView::closeEvent(QCloseEvent* event) {
    // Not while a platform call waits: the window stays until it is over.
    if (ModelHold::engaged()) {
        event->ignore();
        return;
    }
    event->accept();
    if (attached_ && onCloseRequest) {
        onCloseRequest();
    }
}

}  // namespace somnar
