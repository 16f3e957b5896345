#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace somnar {

// Whether the named interface can carry traffic now.
using InterfaceCheck = std::function<bool(const std::string& name)>;

// Whether the IPv4 routing table (the layout of /proc/net/route) holds a usable default
// route: destination and mask 0.0.0.0, flagged up and not a reject route, through an
// interface other than "lo" for which `usable` says yes. False when the table cannot be
// read.
bool hasDefaultRoute(const std::filesystem::path& routeTable, const InterfaceCheck& usable);

// Whether the interface exists, is not a loopback, is up and has its link (the kernel's
// "running": carrier on, or a link without carrier state such as PPP).
bool interfaceIsRunning(const std::string& name);

}  // namespace somnar
