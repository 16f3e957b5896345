#pragma once

#include "platform/ftp_client.h"
#include "platform/win32/internet_handle.h"

#include <chrono>
#include <string>

namespace somnar::win32 {

// The FTP upload through WinINet, the system's own internet client. Every step runs on the
// connection (and login) that connect() made, on the calling thread.
//
// Codes on failure: the server's reply code when it refused (>= 400: 530 wrong login, 550
// no such folder or store refused, ...), read from WinINet's last response; otherwise the
// error number WinINet or the system gave (12029 nobody listens, 12007 no such host, 12002
// a time limit ran out, ...). Refused before anything is sent, with numbers of the same
// meaning: 87 (ERROR_INVALID_PARAMETER) a line break or NUL in the user, password, folder or
// remote name; 12005 (ERROR_INTERNET_INVALID_URL) a server text that is no host[:port];
// 110 (ERROR_OPEN_FAILED) a local file that cannot be read; 12019
// (ERROR_INTERNET_INCORRECT_HANDLE_STATE) a folder or file step without a login.
class WinInetFtpClient final : public FtpClient {
  public:
    // answerLimit: how long connecting and logging in, changing the folder and storing the
    // file may each take; past it the step fails with ERROR_INTERNET_TIMEOUT (12002).
    explicit WinInetFtpClient(std::chrono::seconds answerLimit = std::chrono::seconds(30));

    // A fresh session with the given agent, dropping any connection of an earlier upload.
    FtpResult open(const std::string& agent) override;
    // Logs in; an empty user logs in as "anonymous". Without open() a session is opened
    // with the last agent.
    FtpResult connect(const std::string& server, const std::string& user,
                      const std::string& password, bool passive) override;
    // An empty folder sends nothing, so we stay in the login's folder.
    FtpResult changeDirectory(const std::string& folder) override;
    FtpResult putFile(const std::string& localPath, const std::string& remoteName) override;
    // Says QUIT and closes the connection; the session stays for the next connect().
    void disconnect() override;

  private:
    FtpResult openSession();
    template <typename Call>
    FtpResult limited(InternetHandle& handle, Call call);

    std::chrono::seconds answerLimit_;
    std::wstring agent_;
    InternetHandle session_;
    InternetHandle connection_;
};

}  // namespace somnar::win32
