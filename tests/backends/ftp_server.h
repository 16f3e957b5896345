#pragma once

#include "backends/child_process.h"
#include "backends/test_environment.h"

#include <filesystem>
#include <string>
#include <vector>

namespace somnar::test {

// How the test FTP server behaves (tests/peers/ftp_server.py).
struct FtpServerOptions {
    std::vector<std::string> folders{};  // made inside the home folder before the start
    bool readOnly = false;               // may change folders, may not store
    bool anonymous = false;              // also lets "anonymous" in
    bool stallUploads = false;           // takes almost nothing of an upload
    bool hangUpAfterCwd = false;         // closes the control connection after a CWD
    std::string host = "127.0.0.1";      // or "::1"
    bool silent = false;                 // accepts the TCP connection and never says a word
};

// A pyftpdlib server on a loopback port of the system's choosing, with a user, a password
// and a fresh home folder, for as long as the object lives.
class FtpServer {
  public:
    static constexpr const char* kUser = "somnar";
    static constexpr const char* kPassword = "pa:ss wörd";

    explicit FtpServer(const FtpServerOptions& options = {});
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    // False, with the reason in error(), when it could not be started.
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    unsigned port() const { return port_; }
    // "127.0.0.1:<port>" or "[::1]:<port>", as a user would type the server.
    std::string address() const;
    const std::filesystem::path& home() const { return home_; }

    // The commands the server has received so far, in order ("USER somnar", "PASS ******",
    // "CWD pub", ...).
    std::vector<std::string> commands() const;

  private:
    TempDir folder_;
    std::filesystem::path home_;
    std::filesystem::path log_;
    std::string host_;
    ChildProcess process_;
    unsigned port_ = 0;
    std::string error_;
};

// A loopback TCP port that nobody listens on: bound to find a free one, then closed.
unsigned closedLoopbackPort();

}  // namespace somnar::test
