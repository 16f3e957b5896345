#pragma once

#include <optional>

namespace somnar {

enum class PowerSource { Mains, Battery };

// Whether the power plan lets programs' timers wake the machine.
enum class WakeTimers {
    Allowed,
    ImportantOnly,  // only the system's own timers ("important wake timers")
    Disabled,
    Unknown,  // the plan could not be read
};

// What the machine and its power settings offer for sleeping and being woken by a
// timer, where the system's power policy decides it (Windows); read afresh at every
// call. Used by the pre-flight check.
class PowerPolicy {
  public:
    struct Capabilities {
        bool standby = false;        // S3
        bool modernStandby = false;  // sleeps in S0 Low Power Idle instead of S3
        bool hibernation = false;    // S4 offered (off when hibernation is switched off)
        bool hibernationFile = false;
        bool battery = false;
    };

    virtual ~PowerPolicy() = default;

    // Empty when the system does not tell.
    virtual std::optional<Capabilities> capabilities() = 0;
    // The active power plan's setting for timers that wake the machine.
    virtual WakeTimers wakeTimers(PowerSource source) = 0;
};

}  // namespace somnar
