#pragma once

#include <string>
#include <utility>

namespace somnar {

// How one step of an upload ended. code: the server's reply code where the server
// refused (530 wrong login, 550 no such folder, ...), otherwise the client library's
// error number; never 0 on failure.
struct FtpResult {
    FtpResult() = default;
    FtpResult(bool succeeded, long number, std::string said = {})
        : ok(succeeded), code(number), reply(std::move(said)) {}

    bool ok = false;
    long code = 0;
    // On failure, what was said about it: the server's reply line where it refused
    // ("530 Non-anonymous sessions must use encryption."), otherwise the client library's
    // own words ("SSL certificate problem: self-signed certificate"); may be empty.
    std::string reply;
};

// How a login is to be protected. WhenOffered: TLS (AUTH TLS) where the server offers it,
// plain FTP where it does not. Required: no login, and no password sent, without TLS.
enum class FtpEncryption { WhenOffered, Required };

// What a login needs. server: a host name or address, optionally "host:port" (without a
// port the FTP default); passive: passive mode, active otherwise.
struct FtpLogin {
    std::string server;
    std::string user;
    std::string password;
    bool passive = false;
    FtpEncryption encryption = FtpEncryption::WhenOffered;
};

// An FTP upload in the steps the status line shows. One connection at a time; every
// call returns (within the client's time limits) and never throws. A server certificate
// that does not verify is a failure, never a reason to go on in clear text.
class FtpClient {
  public:
    virtual ~FtpClient() = default;

    // Readies the client library (the "internet open" step).
    virtual FtpResult open(const std::string& agent) = 0;
    // Connects and logs in.
    virtual FtpResult connect(const FtpLogin& login) = 0;
    // Changes the current folder on the server. An empty folder text keeps the folder the
    // login put us in (nothing is sent: a bare CWD fails on many servers).
    virtual FtpResult changeDirectory(const std::string& folder) = 0;
    // Stores the local file in binary mode under the remote name in the current folder.
    virtual FtpResult putFile(const std::string& localPath, const std::string& remoteName) = 0;
    // Stores these bytes in binary mode under the remote name in the current folder.
    virtual FtpResult putBytes(const std::string& bytes, const std::string& remoteName) = 0;
    // Renames a file of the current folder (RNFR/RNTO), replacing one of the new name.
    virtual FtpResult rename(const std::string& from, const std::string& to) = 0;
    // Deletes a file of the current folder (DELE).
    virtual FtpResult remove(const std::string& name) = 0;
    // Closes the connection (no-op when there is none).
    virtual void disconnect() = 0;
};

}  // namespace somnar
