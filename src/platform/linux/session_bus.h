#pragma once

#include "platform/linux/sd_bus_handles.h"

#include <chrono>

namespace somnar::dbus {

// Connects to the desktop session's bus (DBUS_SESSION_BUS_ADDRESS, else the user's bus in
// XDG_RUNTIME_DIR) and waits at most `timeout` until the daemon has accepted us. Null when
// there is none or it does not answer.
BusPtr openSessionBus(std::chrono::milliseconds timeout);

}  // namespace somnar::dbus
