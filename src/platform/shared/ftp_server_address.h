#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace somnar {

// Where to reach an FTP server, taken from what the user typed as the server.
struct FtpServerAddress {
    std::string host;  // a name, an IPv4 address or a bare IPv6 address (no brackets)
    unsigned port = 21;

    bool operator==(const FtpServerAddress&) const = default;
};

// Reads "host", "host:port", "[v6]", "[v6]:port" or a bare IPv6 address (more than one
// colon, so no port). Without a port the FTP default 21. Nothing for an empty host, a port
// outside 1..65535 or characters that would change the meaning of a URL.
std::optional<FtpServerAddress> parseFtpServer(std::string_view text);

// The host as it goes into a URL: IPv6 addresses in brackets.
std::string urlHost(const FtpServerAddress& address);

}  // namespace somnar
