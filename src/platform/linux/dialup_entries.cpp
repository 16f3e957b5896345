#include "platform/linux/dialup_entries.h"

#include "platform/linux/networkmanager_dialups.h"
#include "platform/linux/ppp_peers.h"

#include <utility>

namespace somnar {

LinuxDialupEntries::LinuxDialupEntries(std::filesystem::path peersFolder,
                                       std::chrono::milliseconds busTimeout)
    : peersFolder_(std::move(peersFolder)), busTimeout_(busTimeout) {}

std::vector<std::string> LinuxDialupEntries::listEntries() {
    std::vector<std::string> names = listPppPeers(peersFolder_);
    // One budget for connecting and all questions, so a stalled service delays the
    // start-up by at most that much.
    const auto deadline = std::chrono::steady_clock::now() + busTimeout_;
    const dbus::BusPtr bus = dbus::openSystemBus(busTimeout_);
    if (bus) {
        for (std::string& name : listNetworkManagerDialups(bus.get(), deadline)) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

}  // namespace somnar
