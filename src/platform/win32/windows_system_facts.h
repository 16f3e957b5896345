#pragma once

#include <optional>

#include "platform/power_policy.h"

namespace somnar {

// The power capabilities (GetPwrCapabilities) and the active power plan's wake timer
// setting ("Zeitgeber zur Aktivierung zulassen", RTCWAKE in powercfg).
class WindowsSystemFacts final : public PowerPolicy {
  public:
    std::optional<Capabilities> capabilities() override;
    WakeTimers wakeTimers(PowerSource source) override;
};

}  // namespace somnar
