#pragma once

#include <QObject>
#include <QPointer>

#include "app/main_window_model.h"
#include "platform/qt/window_view.h"

namespace somnar {

// The program's windows on screen: the main window, the info window while it is
// loaded, and the end of the program once neither is loaded.
class AppView : public QObject {
    Q_OBJECT
  public:
    AppView(MainWindow& form, InfoWindow& info);
    ~AppView() override;

    WindowView& mainView() { return *main_; }
    WindowView* infoView() { return info_; }

  private:
    void followInfoWindow();
    void endWhenNoWindowIsLeft();

    MainWindow& form_;
    InfoWindow& infoWindow_;
    QPointer<WindowView> main_;
    QPointer<WindowView> info_;
};

}  // namespace somnar
