#pragma once

#include "platform/linux/sd_bus_handles.h"

#include <chrono>
#include <optional>
#include <string>

namespace somnar::dbus {

// How long any one exchange with a system service may take before we give up on it.
inline constexpr std::chrono::milliseconds kDefaultTimeout{5000};

// Connects to the system bus (DBUS_SYSTEM_BUS_ADDRESS when set) and waits at most `timeout`
// until the bus daemon has accepted us. Null when there is no bus or it does not answer.
BusPtr openSystemBus(std::chrono::milliseconds timeout);

// A method call to `destination`, ready for arguments to be appended. Null on failure.
MessagePtr newMethodCall(sd_bus* bus, const char* destination, const char* path,
                         const char* interface, const char* member);

// Sends `call` and waits at most `timeout` for the reply. Null on a D-Bus error, when the
// time runs out (also when none was left) or when the connection is broken.
MessagePtr callMethod(sd_bus* bus, sd_bus_message* call, std::chrono::milliseconds timeout);

// Reads the next argument of `message` when it is a string.
std::optional<std::string> readString(sd_bus_message* message);

}  // namespace somnar::dbus
