#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "backends/test_environment.h"

namespace somnar::test {

// tests/peers/ftp_server.py on a loopback port of the system's choosing, with a user, a
// password and a fresh home folder, for as long as the object lives. `options`: more of the
// server's options ("--folder", "pub", "--read-only", "--host", "::1", "--silent", ...).
class FtpServer {
  public:
    static constexpr const char* kUser = "somnar";
    static constexpr const char* kPassword = "pa:ss wörd";

    explicit FtpServer(const std::vector<std::string>& options = {});

    bool ok() const { return port_ != 0; }
    std::string error() const { return "the FTP server did not start:\n" + contentOf(log()); }
    // "127.0.0.1:<port>" or "[::1]:<port>", as a user would type the server.
    std::string address() const;
    const std::filesystem::path& home() const { return home_; }
    // The commands received so far, in order ("USER somnar", "PASS ******", "CWD pub", ...).
    std::vector<std::string> commands() const;

  private:
    std::filesystem::path log() const { return folder_.path() / "server.log"; }

    TempDir folder_;
    std::filesystem::path home_ = folder_.path() / "home";
    bool v6_ = false;
    std::unique_ptr<ChildProcess> process_;
    unsigned port_ = 0;
};

// A loopback TCP port that nobody listens on: bound to find a free one, then closed.
unsigned closedLoopbackPort();

}  // namespace somnar::test
