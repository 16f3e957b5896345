#pragma once

#include <systemd/sd-bus.h>

#include <chrono>
#include <string>
#include <vector>

namespace somnar {

// The ids of NetworkManager's saved connections of the dial-up kinds (mobile broadband,
// PPP over Ethernet, Bluetooth), in NetworkManager's order. Empty when NetworkManager does
// not answer before `deadline`; a connection whose settings cannot be read is left out.
std::vector<std::string> listNetworkManagerDialups(sd_bus* bus,
                                                   std::chrono::steady_clock::time_point deadline);

}  // namespace somnar
