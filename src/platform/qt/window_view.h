#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>

#include "app/control_registry.h"
#include "app/window.h"

class QMenu;

namespace somnar {

class TimerDriver;

// A real top-level window built from a model window and its controls, bound both
// ways. Generic: it knows control kinds, not control names. A main window rather than a
// plain widget, so that screen readers see a window with its title; the controls lie on
// it directly, without a central widget or bars.
class WindowView : public QMainWindow, public WindowCommands {
    Q_OBJECT
  public:
    struct Look {
        Qt::WindowFlags flags;
        QIcon icon;
    };

    WindowView(Window& window, const ControlRegistry& controls, const Look& look);
    ~WindowView() override;

    // Stops listening to the model; the widgets stay until the view is deleted.
    void detach();

    // The window's commands, carried out by the real window at once.
    void minimize() override;
    void bringToFront() override;
    void focus(Control* control) override;
    void popUp(Control* menu) override;

    // The widget of a control; builds the widgets left for later if it is one of them.
    QWidget* widgetFor(const Control* control);
    // Builds the widgets that lie below the window's visible height at start; they
    // follow right after the window shows, or at once when the window grows.
    void buildAllControls();
    // The menu built for a top-level menu entry of the model, if any.
    QMenu* menuFor(const Control* control) const;

    // Runs when the user closes the window with its close box.
    std::function<void()> onCloseRequest;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildControl(Control& control);
    void syncControl(const Control& control, QWidget& widget);
    void syncOptionsBeside(const Control& option);
    // The client area the model's window size shows, in pixels.
    QRect shownArea() const;
    bool liesInShownArea(const QWidget& widget) const;
    void showIfShown(const Control& control, QWidget& widget) const;
    void nameForScreenReaders(const Control& control, QWidget& widget);
    void buildMenu(Control& top);
    void finishLateContent();
    void syncWindow();
    void applyWindowSize();
    void keepOnScreen();

    Window& window_;
    const ControlRegistry& controls_;
    QHash<const Control*, QWidget*> widgets_;
    QHash<const Control*, QMenu*> menus_;
    QList<Control*> later_;
    TimerDriver* timers_ = nullptr;
    QPoint placeApplied_{-1, -1};
    bool attached_ = true;
    bool exposeWatched_ = false;
};

}  // namespace somnar
