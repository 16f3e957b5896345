#pragma once

#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdint>
#include <optional>

namespace somnar {

// NetworkManager's NMConnectivityState.
enum class NmConnectivity : std::uint32_t {
    Unknown = 0,  // its check is switched off or has not run yet
    None = 1,
    Portal = 2,   // behind a captive portal
    Limited = 3,  // on a network, but without internet access
    Full = 4,
};

// NetworkManager's own verdict on the internet connection (its Connectivity property).
// Nothing when NetworkManager does not answer before `deadline` or answers with something
// other than a number.
std::optional<NmConnectivity> readNetworkManagerConnectivity(
    sd_bus* bus, std::chrono::steady_clock::time_point deadline);

}  // namespace somnar
