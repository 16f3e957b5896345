#pragma once

// One real widget per model control: created from the design, kept in step with the
// model, and passing the user's input back to it.

#include <QWidget>
#include <functional>

#include "app/controls.h"

namespace somnar {

// Creates the widget of a control inside its parent (the window or a frame's widget);
// nullptr for kinds without a widget of their own (timers, menu entries).
QWidget* createControlWidget(Control& control, QWidget* parent);

// Brings the widget in line with the control's properties without echoing back; whether
// it is shown is the window's to say (see WindowView).
void syncControlWidget(const Control& control, QWidget& widget);

// Passes user input on the widget to the control; resync runs after each input so the
// widget shows what the model made of it (for an option: its whole group).
void connectControlInput(Control& control, QWidget& widget, const std::function<void()>& resync);

}  // namespace somnar
