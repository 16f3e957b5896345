#include "platform/linux/linux_connectivity.h"

#include "platform/linux/networkmanager_connectivity.h"
#include "platform/linux/system_bus.h"

#include <optional>
#include <utility>

namespace somnar {

namespace {

std::optional<NmConnectivity> askNetworkManager(std::chrono::milliseconds timeout) {
    // One budget for connecting and asking.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const dbus::BusPtr bus = dbus::openSystemBus(timeout);
    if (!bus) {
        return std::nullopt;
    }
    return readNetworkManagerConnectivity(bus.get(), deadline);
}

}  // namespace

LinuxConnectivity::LinuxConnectivity(std::filesystem::path routeTable,
                                     std::chrono::milliseconds busTimeout,
                                     InterfaceCheck interfaceUsable)
    : routeTable_(std::move(routeTable)),
      busTimeout_(busTimeout),
      interfaceUsable_(interfaceUsable ? std::move(interfaceUsable) : interfaceIsRunning) {}

bool LinuxConnectivity::isConnected() {
    const auto verdict = askNetworkManager(busTimeout_);
    if (verdict && *verdict != NmConnectivity::Unknown) {
        return *verdict == NmConnectivity::Full;
    }
    return hasDefaultRoute(routeTable_, interfaceUsable_);
}

}  // namespace somnar
