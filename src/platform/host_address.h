#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace somnar {

using Ipv4Address = std::array<std::uint8_t, 4>;  // in network order

struct HostNameResult {
    std::optional<std::string> name;  // empty when the system could not tell it
    int errorCode = 0;                // the system's error number then
    bool notStarted = false;          // the system's sockets library did not start (Windows)
};

// The machine's own names and addresses, as the system knows them.
class HostAddress {
  public:
    virtual ~HostAddress() = default;

    virtual HostNameResult hostName() = 0;
    // The IPv4 addresses the resolver gives for the name, in its order; empty when the
    // name cannot be resolved.
    virtual std::vector<Ipv4Address> resolveIpv4(const std::string& name) = 0;
    // The IPv4 addresses of the network interfaces that are up, loopback included, in
    // the system's order.
    virtual std::vector<Ipv4Address> interfaceIpv4() = 0;
};

}  // namespace somnar
