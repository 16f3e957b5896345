#pragma once

#include "platform/host_address.h"

#include <string>
#include <vector>

struct ifaddrs;

namespace somnar {

// The IPv4 addresses of the interfaces that are up (the loopback among them) in a list as
// getifaddrs gives it, in its order.
std::vector<Ipv4Address> ipv4OfInterfacesUp(const ifaddrs* list);

// The host name from gethostname, names resolved with getaddrinfo (the system's resolver:
// hosts file, DNS, ... as nsswitch.conf says), interface addresses from getifaddrs.
class LinuxHostAddress final : public HostAddress {
  public:
    HostNameResult hostName() override;
    // Each address once, where it first appears; a blocking lookup.
    std::vector<Ipv4Address> resolveIpv4(const std::string& name) override;
    std::vector<Ipv4Address> interfaceIpv4() override;
};

}  // namespace somnar
