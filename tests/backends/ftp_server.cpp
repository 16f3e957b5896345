#include "backends/ftp_server.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace somnar::test {

FtpServer::FtpServer(const std::vector<std::string>& options)
    : v6_(std::find(options.begin(), options.end(), "::1") != options.end()) {
    std::filesystem::create_directory(home_);
    std::vector<std::string> argv = {
        SOMNAR_PYTHON, std::string(SOMNAR_TEST_PEERS_DIR) + "/ftp_server.py",
        "--home",      home_.string(),
        "--user",      kUser,
        "--password",  kPassword};
    argv.insert(argv.end(), options.begin(), options.end());
    process_ = std::make_unique<ChildProcess>(argv, log().string());
    const auto line = process_->readLine(std::chrono::seconds(15));
    if (!line || std::sscanf(line->c_str(), "PORT %u", &port_) != 1) {
        port_ = 0;
    }
}

std::string FtpServer::address() const {
    return (v6_ ? "[::1]:" : "127.0.0.1:") + std::to_string(port_);
}

std::vector<std::string> FtpServer::commands() const {
    // pyftpdlib logs "<client>-[<user>] <- <command>".
    std::vector<std::string> received;
    for (const std::string& line : readLines(log())) {
        if (const auto at = line.find("] <- "); at != std::string::npos) {
            received.push_back(line.substr(at + 5));
        }
    }
    return received;
}

unsigned closedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    unsigned port = 0;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

}  // namespace somnar::test
