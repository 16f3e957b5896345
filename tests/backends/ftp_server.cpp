#include "backends/ftp_server.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace somnar::test {
namespace {

constexpr std::chrono::seconds kStartTimeout{15};

}  // namespace

FtpServer::FtpServer(const FtpServerOptions& options) : host_(options.host) {
    if (folder_.path().empty()) {
        error_ = "cannot make a temporary folder";
        return;
    }
    home_ = folder_.path() / "home";
    log_ = folder_.path() / "server.log";
    std::error_code made;
    std::filesystem::create_directory(home_, made);
    std::vector<std::string> argv = {
        SOMNAR_PYTHON, std::string(SOMNAR_TEST_PEERS_DIR) + "/ftp_server.py",
        "--home",      home_.string(),
        "--user",      kUser,
        "--password",  kPassword,
        "--host",      options.host};
    for (const std::string& folder : options.folders) {
        argv.insert(argv.end(), {"--folder", folder});
    }
    if (options.readOnly) {
        argv.emplace_back("--read-only");
    }
    if (options.anonymous) {
        argv.emplace_back("--anonymous");
    }
    if (options.stallUploads) {
        argv.emplace_back("--stall-uploads");
    }
    if (options.hangUpAfterCwd) {
        argv.emplace_back("--hang-up-after-cwd");
    }
    if (options.silent) {
        argv.emplace_back("--silent");
    }
    if (!process_.start(argv, log_.string())) {
        error_ = "cannot start " + argv[0];
        return;
    }
    const auto line = process_.readLine(kStartTimeout);
    if (!line || std::sscanf(line->c_str(), "PORT %u", &port_) != 1 || port_ == 0) {
        error_ = "the FTP server did not report its port; its log:\n";
        for (const std::string& logged : readLines(log_)) {
            error_ += logged + '\n';
        }
    }
}

std::string FtpServer::address() const {
    const bool v6 = host_.find(':') != std::string::npos;
    return (v6 ? "[" + host_ + "]" : host_) + ":" + std::to_string(port_);
}

std::vector<std::string> FtpServer::commands() const {
    // pyftpdlib logs "<client>-[<user>] <- <command>".
    static constexpr std::string_view kReceived = "] <- ";
    std::vector<std::string> received;
    for (const std::string& line : readLines(log_)) {
        if (const auto at = line.find(kReceived); at != std::string::npos) {
            received.push_back(line.substr(at + kReceived.size()));
        }
    }
    return received;
}

unsigned closedLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return 0;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    unsigned port = 0;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);
    return port;
}

}  // namespace somnar::test
