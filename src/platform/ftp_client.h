#pragma once

#include <string>

namespace somnar {

// How one step of an upload ended. code: the server's reply code where the server
// refused (530 wrong login, 550 no such folder, ...), otherwise the client library's
// error number; never 0 on failure.
struct FtpResult {
    bool ok = false;
    long code = 0;
};

// An FTP upload in the steps the status line shows. One connection at a time; every
// call returns (within the client's time limits) and never throws.
class FtpClient {
  public:
    virtual ~FtpClient() = default;

    // Readies the client library (the "internet open" step).
    virtual FtpResult open(const std::string& agent) = 0;
    // Connects and logs in. server: a host name or address, optionally "host:port"
    // (without a port the FTP default). passive: passive mode, active otherwise.
    virtual FtpResult connect(const std::string& server, const std::string& user,
                              const std::string& password, bool passive) = 0;
    // Changes the current folder on the server. An empty folder text keeps the folder the
    // login put us in (nothing is sent: a bare CWD fails on many servers).
    virtual FtpResult changeDirectory(const std::string& folder) = 0;
    // Stores the local file in binary mode under the remote name in the current folder.
    virtual FtpResult putFile(const std::string& localPath, const std::string& remoteName) = 0;
    // Closes the connection (no-op when there is none).
    virtual void disconnect() = 0;
};

}  // namespace somnar
