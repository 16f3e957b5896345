#include "platform/linux/linux_host_address.h"

#include "platform/linux/interface_list.h"

#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

namespace somnar {

namespace {

struct AddrInfoFree {
    void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};
using AddrInfoList = std::unique_ptr<addrinfo, AddrInfoFree>;

Ipv4Address bytesOf(const sockaddr* address) {
    sockaddr_in ipv4{};
    std::memcpy(&ipv4, address, sizeof ipv4);
    Ipv4Address bytes{};
    static_assert(sizeof ipv4.sin_addr == bytes.size());
    std::memcpy(bytes.data(), &ipv4.sin_addr, bytes.size());  // already network order
    return bytes;
}

}  // namespace

HostNameResult LinuxHostAddress::hostName() {
    try {
        // Room for the longest name the kernel keeps (64) and then some; the last byte stays
        // 0, as a cut-off name need not end in one.
        std::array<char, 256> buffer{};
        if (::gethostname(buffer.data(), buffer.size() - 1) != 0) {
            return {std::nullopt, errno};
        }
        return {std::string(buffer.data()), 0};
    } catch (const std::exception&) {
        return {std::nullopt, ENOMEM};
    }
}

std::vector<Ipv4Address> LinuxHostAddress::resolveIpv4(const std::string& name) {
    if (name.empty()) {
        return {};
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    // Without a socket type every address comes once per type (stream, datagram, raw).
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* raw = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &raw) != 0) {
        return {};
    }
    const AddrInfoList list(raw);
    try {
        std::vector<Ipv4Address> addresses;
        for (const addrinfo* entry = list.get(); entry != nullptr; entry = entry->ai_next) {
            if (entry->ai_family != AF_INET || entry->ai_addr == nullptr ||
                entry->ai_addrlen < sizeof(sockaddr_in)) {
                continue;
            }
            const Ipv4Address address = bytesOf(entry->ai_addr);
            if (std::find(addresses.begin(), addresses.end(), address) == addresses.end()) {
                addresses.push_back(address);
            }
        }
        return addresses;
    } catch (const std::exception&) {
        return {};
    }
}

std::vector<Ipv4Address> ipv4OfInterfacesUp(const ifaddrs* list) {
    try {
        std::vector<Ipv4Address> addresses;
        for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
            if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET &&
                (entry->ifa_flags & IFF_UP) != 0) {
                addresses.push_back(bytesOf(entry->ifa_addr));
            }
        }
        return addresses;
    } catch (const std::exception&) {
        return {};
    }
}

std::vector<Ipv4Address> LinuxHostAddress::interfaceIpv4() {
    return ipv4OfInterfacesUp(readInterfaceList().get());
}

}  // namespace somnar
