#pragma once

#include <optional>
#include <string>

namespace somnar::win32 {

// Whether the active power plan lets programs' timers wake the machine, for the power
// source it runs on now (the plan's "allow wake timers" setting: 0 off, 1 on, 2 only the
// system's important ones). The system takes a timer's resume request all the same and
// then does not wake. The setting's and its value's names in the system's own words
// ("Zeitgeber zur Aktivierung zulassen: Deaktivieren") when it forbids our timers; nothing
// when it allows them or the plan cannot be read (then only the timer itself can tell).
std::optional<std::string> wakeTimersForbidden();

}  // namespace somnar::win32
