#include "platform/linux/dialup_entries.h"

#include "platform/linux/dialup_dialler.h"
#include "platform/linux/networkmanager_dialups.h"
#include "platform/linux/ppp_peers.h"

#include <algorithm>
#include <utility>

namespace somnar {

namespace {

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

LinuxDialupEntries::LinuxDialupEntries(std::filesystem::path peersFolder,
                                       std::chrono::milliseconds busTimeout)
    : peersFolder_(std::move(peersFolder)), busTimeout_(busTimeout) {}

std::vector<std::string> LinuxDialupEntries::listEntries() {
    std::vector<std::string> names;
    for (std::string& name : listPppPeers(peersFolder_)) {
        if (ponCanDial(name)) {
            names.push_back(std::move(name));
        }
    }
    for (std::string& name : networkManagerDialups()) {
        names.push_back(std::move(name));
    }
    return names;
}

DialResult LinuxDialupEntries::dial(const std::string& name, const std::string& user,
                                    const std::string& password) {
    try {
        if (name.empty()) {
            return {DialError::NothingSelected, {}, {}};
        }
        // The listing's own test of a peer, so only a name the picker could offer is
        // dialled (no hidden file, no path out of the folder).
        const bool peer = contains(listPppPeers(peersFolder_), name);
        if (peer && ponCanDial(name)) {
            return startPon(name, user, password);
        }
        if (contains(networkManagerDialups(), name)) {
            return startNmcli(name);
        }
        if (peer) {
            return startPon(name, user, password);  // refuses the name, with the reason
        }
        return {DialError::UnknownName, name, {}};
    } catch (const std::exception&) {
        // Only running out of memory gets here.
        return {DialError::Failed, {}, {}};
    }
}

std::vector<std::string> LinuxDialupEntries::networkManagerDialups() const {
    // One budget for connecting and all questions, so a stalled service delays the caller
    // by at most that much.
    const auto deadline = std::chrono::steady_clock::now() + busTimeout_;
    const dbus::BusPtr bus = dbus::openSystemBus(busTimeout_);
    if (!bus) {
        return {};
    }
    return listNetworkManagerDialups(bus.get(), deadline);
}

}  // namespace somnar
