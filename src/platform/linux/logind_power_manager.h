#pragma once

#include "platform/linux/sd_bus_handles.h"
#include "platform/linux/system_bus.h"
#include "platform/power_manager.h"

#include <chrono>

namespace somnar {

// Asks systemd-logind on the system bus what the machine may do. One connection is kept
// for all requests, so the sleep calls, PrepareForSleep and inhibitor locks can share it.
class LogindPowerManager final : public PowerManager {
  public:
    explicit LogindPowerManager(std::chrono::milliseconds timeout = dbus::kDefaultTimeout);

    // True when logind answers "yes" or "challenge" (allowed after authentication);
    // false for any other answer and when logind or the bus cannot be reached.
    bool canHibernate() override;
    bool canSuspend() override;

  private:
    bool askCapability(const char* method);
    // The open connection, reopened when the last one broke; null when there is no bus.
    sd_bus* connection();

    std::chrono::milliseconds timeout_;
    dbus::BusPtr bus_;
};

}  // namespace somnar
