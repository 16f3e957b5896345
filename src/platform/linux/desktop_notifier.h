#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/notifier.h"

namespace somnar {

// Notifications through org.freedesktop.Notifications on the desktop session's bus:
// critical and without expiry, so they wait for the user who comes back. Without a session
// bus or a notification service nothing is shown. Where the service reads the body as
// markup, the body's own "&", "<" and ">" are escaped, so it shows as written.
class DesktopNotifier final : public Notifier {
  public:
    // The most one notification may cost, connecting included, when the service is slow.
    static constexpr std::chrono::milliseconds kTimeout{2000};

    explicit DesktopNotifier(std::string applicationName = "Somnar Scheduler",
                             std::chrono::milliseconds timeout = kTimeout);

    void notify(const std::string& summary, const std::string& body) override;

  private:
    std::string applicationName_;
    std::chrono::milliseconds timeout_;
    // Whether the service reads markup, once it has said so.
    std::optional<bool> bodyMarkup_;
};

}  // namespace somnar
