#pragma once

#include "platform/host_address.h"

#include <string>
#include <vector>

namespace somnar::win32 {

// The host name from GetHostNameW, names resolved with GetAddrInfoW (hosts file, DNS, ...),
// interface addresses from GetAdaptersAddresses. Windows Sockets is started once with the
// object and cleaned up with it.
class WinsockHostAddress final : public HostAddress {
  public:
    WinsockHostAddress();
    ~WinsockHostAddress() override;
    WinsockHostAddress(const WinsockHostAddress&) = delete;
    WinsockHostAddress& operator=(const WinsockHostAddress&) = delete;

    // The error number is Windows Sockets' own (WSANOTINITIALISED when it did not start).
    HostNameResult hostName() override;
    // Each address once, where it first appears; a blocking lookup.
    std::vector<Ipv4Address> resolveIpv4(const std::string& name) override;
    // The unicast addresses of the adapters that are up, loopback included.
    std::vector<Ipv4Address> interfaceIpv4() override;

  private:
    int startError_ = 0;  // WSAStartup's answer, 0 when started
};

}  // namespace somnar::win32
