#pragma once

#include "platform/dialer.h"
#include "platform/linux/system_bus.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace somnar {

// The dial-up connections of a Linux machine: the pppd peers first, then NetworkManager's
// mobile broadband, PPPoE and Bluetooth connections. A source that is missing adds nothing.
// A peer is dialled through pon, a NetworkManager connection through nmcli; when both
// have the name, the peer is dialled. A peer whose name pon cannot carry (ponCanDial()) is
// left out of the list and refused by dial(), unless NetworkManager has that name.
class LinuxDialupEntries final : public Dialer {
  public:
    explicit LinuxDialupEntries(std::filesystem::path peersFolder = "/etc/ppp/peers",
                                std::chrono::milliseconds busTimeout = dbus::kDefaultTimeout);

    std::vector<std::string> listEntries() override;

    DialResult dial(const std::string& name, const std::string& user,
                    const std::string& password) override;

  private:
    std::vector<std::string> networkManagerDialups() const;

    std::filesystem::path peersFolder_;
    std::chrono::milliseconds busTimeout_;
};

}  // namespace somnar
