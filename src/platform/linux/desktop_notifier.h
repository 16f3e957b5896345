#pragma once

#include <chrono>
#include <string>

#include "platform/notifier.h"

namespace somnar {

// Notifications through org.freedesktop.Notifications on the desktop session's bus.
class DesktopNotifier final : public Notifier {
  public:
    explicit DesktopNotifier(std::string applicationName = "Somnar Scheduler");

    void notify(const std::string& summary, const std::string& body) override;

  private:
    std::string applicationName_;
};

}  // namespace somnar
