#pragma once

#include <chrono>
#include <initializer_list>
#include <string>

#include "platform/curl/curl_handles.h"
#include "platform/ftp_client.h"

namespace somnar {

// The FTP upload through libcurl. Each step is one transfer on the same handle, so the
// steps after connect() run on the connection (and login) that connect() made; a step that
// would need a new connection is stopped before its command is sent.
//
// Codes on failure: the server's reply code when it refused (>= 400: 530 wrong login, 550
// no such folder or store refused, ...), otherwise libcurl's CURLcode: 7 nobody listens,
// 28 a time limit ran out, 37 the local file cannot be read (checked before anything is
// sent), 42 the connection of the login was lost between steps, 43 a line break or a NUL in
// the folder, a file name, the user or the password, 3 a server text that is no host[:port]
// (a line break or a NUL in it included), 2 a folder or file step without a login
// (connect() has not succeeded, or disconnect() came since), 60 a server certificate that
// does not verify, 64 no TLS where it is required.
//
// TLS: "AUTH TLS" is sent first; where the server accepts it the login, the commands and
// the file go encrypted ("PROT P"), with the certificate and the host name verified.
class CurlFtpClient : public FtpClient {
  public:
    // answerLimit: how long connecting, logging in and each reply of the server may take.
    // stallLimit: how long a transfer may go on at less than one byte a second (libcurl
    // averages over its last few seconds, so a sudden stall is noticed some 5 to 7 s later).
    // trustedCertificates: a file of certificates to trust instead of the system's.
    explicit CurlFtpClient(std::chrono::seconds answerLimit = std::chrono::seconds(30),
                           std::chrono::seconds stallLimit = std::chrono::seconds(30),
                           std::string trustedCertificates = {});
    // The handle's callbacks point at this object, so it stays where it was made.
    CurlFtpClient(const CurlFtpClient&) = delete;
    CurlFtpClient& operator=(const CurlFtpClient&) = delete;

    // Makes a fresh handle, dropping any connection of an earlier upload.
    FtpResult open(const std::string& agent) override;
    // Logs in without a transfer; an empty user logs in as "anonymous".
    FtpResult connect(const FtpLogin& login) override;
    // Sends "CWD <folder>"; the server's reply decides. An empty folder sends nothing, so
    // after connect() we stay in the login's folder.
    FtpResult changeDirectory(const std::string& folder) override;
    FtpResult putFile(const std::string& localPath, const std::string& remoteName) override;
    FtpResult putBytes(const std::string& bytes, const std::string& remoteName) override;
    FtpResult rename(const std::string& from, const std::string& to) override;
    FtpResult remove(const std::string& name) override;
    // Says QUIT and closes the connection; a later connect() makes a new handle.
    void disconnect() override;

  private:
    FtpResult makeHandle();
    FtpResult perform(bool onLoginConnection);
    // Sends the commands on the login's connection; the first refusal ends the step.
    FtpResult commands(std::initializer_list<std::string> lines);
    // Stores what `read` gives (size bytes) under the remote name.
    FtpResult store(const std::string& remoteName, curl_read_callback read, void* source,
                    curl_off_t size);

    static size_t onReply(char* text, size_t size, size_t count, void* self);
    static int onSocket(void* self, curl_socket_t socket, curlsocktype purpose);
    static int onPrerequest(void* self, char* serverIp, char* localIp, int serverPort,
                            int localPort);

    std::chrono::seconds answerLimit_;
    std::chrono::seconds stallLimit_;
    std::string trustedCertificates_;
    std::string lastReply_;                 // the server's last reply line
    char libraryError_[CURL_ERROR_SIZE]{};  // libcurl's words for the last failure
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
