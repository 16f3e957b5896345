// The machine's own IPv4 address, as the outside should reach it.

#include "publish/publisher.h"

namespace somnar {
namespace {

bool isLoopback(const Ipv4Address& address) {
    return address[0] == 127;
}

std::string dotted(const Ipv4Address& address) {
    std::string text;
    for (std::uint8_t part : address) {
        if (!text.empty()) {
            text += '.';
        }
        text += std::to_string(part);
    }
    return text;
}

// The code with a place for its sign, a blank for codes that are not negative.
std::string signedWithBlank(int code) {
    return code < 0 ? std::to_string(code) : " " + std::to_string(code);
}

}  // namespace

AddressLookup Publisher::localIpAddress() {
    HostAddress& host = seams_.hostAddress;
    const HostNameResult name = host.hostName();
    if (name.notStarted) {
        return {{}, "The 32-bit Windows Socket is not responding."};
    }
    if (!name.name) {
        return {{},
                "Windows Sockets error " + signedWithBlank(name.errorCode) +
                    " has occurred. Unable to successfully get Host Name."};
    }
    // The host name often stands for a loopback address (127.0.1.1 on Debian), which
    // nobody outside could reach: the first other address of the name, else of an
    // interface that is up.
    for (const Ipv4Address& address : host.resolveIpv4(*name.name)) {
        if (!isLoopback(address)) {
            return {dotted(address), {}};
        }
    }
    for (const Ipv4Address& address : host.interfaceIpv4()) {
        if (!isLoopback(address)) {
            return {dotted(address), {}};
        }
    }
    return {{}, "Windows Sockets are not responding. Unable to successfully get Host Name."};
}

}  // namespace somnar
