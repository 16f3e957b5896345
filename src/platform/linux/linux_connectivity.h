#pragma once

#include "platform/connectivity.h"
#include "platform/linux/default_route.h"

#include <chrono>
#include <filesystem>

namespace somnar {

// Whether the machine is online, asked once per tick of the connection watch.
//
// Where NetworkManager answers on the system bus, its own connectivity check decides, and
// only "full" counts: behind a captive portal or on a network without internet access the
// upload would fail, and the watch publishes only once. Where its check is switched off
// (it says "unknown") or NetworkManager does not answer in time (no bus, not running,
// stalled), the machine counts as online when a default route leads through an interface
// other than loopback that is up and has its link.
class LinuxConnectivity final : public Connectivity {
  public:
    // Short, because the watch asks on the user-interface thread once a second.
    static constexpr std::chrono::milliseconds kBusTimeout{2000};

    // routeTable: the kernel's IPv4 routing table. busTimeout: the most one answer of
    // NetworkManager may take, connecting included. interfaceUsable: the test of the
    // default route's interface.
    explicit LinuxConnectivity(std::filesystem::path routeTable = "/proc/net/route",
                               std::chrono::milliseconds busTimeout = kBusTimeout,
                               InterfaceCheck interfaceUsable = interfaceIsRunning);

    bool isConnected() override;

  private:
    std::filesystem::path routeTable_;
    std::chrono::milliseconds busTimeout_;
    InterfaceCheck interfaceUsable_;
};

}  // namespace somnar
