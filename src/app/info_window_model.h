#pragma once

#include "app/control_registry.h"
#include "app/window.h"
#include "platform/services.h"

namespace somnar {

// The info window: a few paragraphs on what the program does and needs.
class InfoWindow {
  public:
    explicit InfoWindow(Services& services);

    Window window;
    TextBox infoText;
    CommandButton backButton;

    // Creates the window if it is closed (building its text) and shows it; an open
    // window is only brought to the front.
    void open();
    void build();
    void onBack();
    // The close box has the same effect as "<<".
    void close();

    const ControlRegistry& registry() const { return registry_; }

  private:
    Services& services_;
    ControlRegistry registry_;
};

}  // namespace somnar
