#pragma once

#include <chrono>
#include <string>

#include "platform/ftp_client.h"
#include "platform/curl/curl_handles.h"

namespace somnar {

// The FTP upload through libcurl. Each step is one transfer on the same handle, so the
// steps after connect() run on the connection (and login) that connect() made; a step that
// would need a new connection is stopped before its command is sent.
//
// Codes on failure: the server's reply code when it refused (>= 400: 530 wrong login, 550
// no such folder or store refused, ...), otherwise libcurl's CURLcode: 7 nobody listens,
// 28 a time limit ran out, 37 the local file cannot be read (checked before anything is
// sent), 42 the connection of the login was lost between steps, 43 a line break or a NUL in
// the folder, user or password, 3 a server text that is no host[:port] (a line break or a
// NUL in it included), 2 a folder or file step without a login (connect() has not
// succeeded, or disconnect() came since).
class CurlFtpClient : public FtpClient {
  public:
    // answerLimit: how long connecting, logging in and each reply of the server may take.
    // stallLimit: how long a transfer may go on at less than one byte a second (libcurl
    // averages over its last few seconds, so a sudden stall is noticed some 5 to 7 s later).
    explicit CurlFtpClient(std::chrono::seconds answerLimit = std::chrono::seconds(30),
                           std::chrono::seconds stallLimit = std::chrono::seconds(30));
    // The handle's callbacks point at this object, so it stays where it was made.
    CurlFtpClient(const CurlFtpClient&) = delete;
    CurlFtpClient& operator=(const CurlFtpClient&) = delete;

    // Makes a fresh handle, dropping any connection of an earlier upload.
    FtpResult open(const std::string& agent) override;
    // Logs in without a transfer; an empty user logs in as "anonymous".
    FtpResult connect(const std::string& server, const std::string& user,
                      const std::string& password, bool passive) override;
    // Sends "CWD <folder>"; the server's reply decides. An empty folder sends nothing, so
    // after connect() we stay in the login's folder.
    FtpResult changeDirectory(const std::string& folder) override;
    FtpResult putFile(const std::string& localPath, const std::string& remoteName) override;
    // Says QUIT and closes the connection; a later connect() makes a new handle.
    void disconnect() override;

  private:
    FtpResult makeHandle();
    FtpResult perform(bool onLoginConnection);

    static int onSocket(void* self, curl_socket_t socket, curlsocktype purpose);
    static int onPrerequest(void* self, char* serverIp, char* localIp, int serverPort,
                            int localPort);

    std::chrono::seconds answerLimit_;
    std::chrono::seconds stallLimit_;
    CurlEasy curl_;
    std::string agent_;
    std::string baseUrl_;  // ftp://host:port/, the login's own folder
    bool used_ = false;    // the handle has run a transfer
    bool connected_ = false;
    // Per transfer: whether it opened a control connection of its own, and whether it must
    // not (every step after the login).
    bool newConnection_ = false;
    bool requireLoginConnection_ = false;
};

}  // namespace somnar
