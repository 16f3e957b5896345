#include "platform/win32/winsock_host_address.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <winsock2.h>
#include <ws2tcpip.h>
// After the socket headers, whose types it uses.
#include <iphlpapi.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace somnar::win32 {
namespace {

struct AddrInfoFree {
    void operator()(ADDRINFOW* list) const { ::FreeAddrInfoW(list); }
};
using AddrInfoList = std::unique_ptr<ADDRINFOW, AddrInfoFree>;

Ipv4Address bytesOf(const sockaddr* address) {
    sockaddr_in ipv4{};
    std::memcpy(&ipv4, address, sizeof ipv4);
    Ipv4Address bytes{};
    static_assert(sizeof ipv4.sin_addr == sizeof bytes);
    std::memcpy(bytes.data(), &ipv4.sin_addr, bytes.size());  // already network order
    return bytes;
}

void addOnce(std::vector<Ipv4Address>& addresses, const Ipv4Address& address) {
    if (std::find(addresses.begin(), addresses.end(), address) == addresses.end()) {
        addresses.push_back(address);
    }
}

}  // namespace

WinsockHostAddress::WinsockHostAddress() {
    WSADATA data{};
    startError_ = ::WSAStartup(MAKEWORD(2, 2), &data);
}

WinsockHostAddress::~WinsockHostAddress() {
    if (startError_ == 0) {
        ::WSACleanup();
    }
}

HostNameResult WinsockHostAddress::hostName() {
    if (startError_ != 0) {
        return {std::nullopt, startError_, true};
    }
    // 256 is the most any Windows Sockets name may have.
    wchar_t buffer[256] = {};
    if (::GetHostNameW(buffer, 256) != 0) {
        return {std::nullopt, ::WSAGetLastError()};
    }
    return {narrow(buffer), 0};
}

std::vector<Ipv4Address> WinsockHostAddress::resolveIpv4(const std::string& name) {
    if (name.empty() || startError_ != 0) {
        return {};
    }
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    // Without a socket type every address comes once per type (stream, datagram, raw).
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* raw = nullptr;
    if (::GetAddrInfoW(widen(name).c_str(), nullptr, &hints, &raw) != 0) {
        return {};
    }
    const AddrInfoList list(raw);
    std::vector<Ipv4Address> addresses;
    for (const ADDRINFOW* entry = list.get(); entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr &&
            entry->ai_addrlen >= sizeof(sockaddr_in)) {
            addOnce(addresses, bytesOf(entry->ai_addr));
        }
    }
    return addresses;
}

std::vector<Ipv4Address> WinsockHostAddress::interfaceIpv4() {
    constexpr ULONG kFlags =
        GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    // The list may grow between the two calls: ask again with the size it says.
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 4 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.assign(size, 0);
        result =
            ::GetAdaptersAddresses(AF_INET, kFlags, nullptr,
                                   reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    }
    std::vector<Ipv4Address> addresses;
    if (result != NO_ERROR) {
        return addresses;
    }
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data());
         adapter != nullptr; adapter = adapter->Next) {
        if (adapter->OperStatus != IfOperStatusUp) {
            continue;
        }
        for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter->FirstUnicastAddress;
             unicast != nullptr; unicast = unicast->Next) {
            const SOCKET_ADDRESS& address = unicast->Address;
            if (address.lpSockaddr != nullptr && address.lpSockaddr->sa_family == AF_INET &&
                address.iSockaddrLength >= static_cast<INT>(sizeof(sockaddr_in))) {
                addOnce(addresses, bytesOf(address.lpSockaddr));
            }
        }
    }
    return addresses;
}

}  // namespace somnar::win32
