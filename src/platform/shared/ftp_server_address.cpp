#include "platform/shared/ftp_server_address.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace somnar {
namespace {

constexpr unsigned kDefaultPort = 21;

// Characters that would end the host part of a URL or smuggle in a user or a path.
bool safeHost(std::string_view host) {
    return !host.empty() && std::none_of(host.begin(), host.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7f ||
               std::string_view("/\\@?#[]%").find(c) != std::string_view::npos;
    });
}

// Hex digits, colons and the dots of an embedded IPv4 address; no zone ("%eth0").
bool ipv6Address(std::string_view host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) != 0 || c == ':' || c == '.';
    });
}

std::optional<unsigned> parsePort(std::string_view text) {
    unsigned port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || port == 0 ||
        port > 65535) {
        return std::nullopt;
    }
    return port;
}

}  // namespace

std::optional<FtpServerAddress> parseFtpServer(std::string_view text) {
    std::string_view host = text;
    std::optional<std::string_view> port;
    const auto colons = std::count(text.begin(), text.end(), ':');
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (!rest.starts_with(':')) {
                return std::nullopt;
            }
            port = rest.substr(1);
        }
        // Brackets are for IPv6 addresses only.
        if (host.find(':') == std::string_view::npos || !ipv6Address(host)) {
            return std::nullopt;
        }
    } else if (colons > 1) {
        // A bare IPv6 address: all colons are its own, so no port.
        if (!ipv6Address(host)) {
            return std::nullopt;
        }
    } else {
        if (colons == 1) {
            const auto colon = text.find(':');
            host = text.substr(0, colon);
            port = text.substr(colon + 1);
        }
        if (!safeHost(host)) {
            return std::nullopt;
        }
    }
    FtpServerAddress address{std::string(host), kDefaultPort};
    if (port) {
        const auto number = parsePort(*port);
        if (!number) {
            return std::nullopt;
        }
        address.port = *number;
    }
    return address;
}

std::string urlHost(const FtpServerAddress& address) {
    if (address.host.find(':') != std::string::npos) {
        return "[" + address.host + "]";
    }
    return address.host;
}

}  // namespace somnar
