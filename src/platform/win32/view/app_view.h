#pragma once

#include <memory>

#include "app/main_window_model.h"
#include "platform/win32/view/window_view.h"

namespace somnar::win32 {

// The program's windows on screen: the main window, the info window while it is loaded,
// and the end of the message loop once neither is loaded.
class AppView {
  public:
    AppView(MainWindow& form, InfoWindow& info);
    ~AppView();
    AppView(const AppView&) = delete;
    AppView& operator=(const AppView&) = delete;

    WindowView& mainView() { return *main_; }
    WindowView* infoView() { return info_.get(); }

  private:
    void followInfoWindow();
    void endWhenNoWindowIsLeft();

    MainWindow& form_;
    InfoWindow& infoWindow_;
    std::unique_ptr<WindowView> main_;
    std::unique_ptr<WindowView> info_;
    // A view closed from inside its own window procedure is deleted once that returns.
    std::unique_ptr<WindowView> closed_;
};

// Runs the message loop until the program ends; Tab, Return and Escape move between
// the controls of the active window as in a dialog. Returns the exit status.
int runMessageLoop();

}  // namespace somnar::win32
