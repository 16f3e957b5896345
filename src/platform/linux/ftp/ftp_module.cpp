// The entry of the FTP module: the program loads it only when it first uploads, so the
// FTP client library and everything it needs cost nothing at start-up.

#include <chrono>
#include <memory>

#include "platform/curl/curl_ftp_client.h"

extern "C" {

// The caller owns the client and hands it back to somnar_destroy_ftp_client. Both are C
// symbols that the loader looks up by these names.
// NOLINTNEXTLINE(readability-identifier-naming)
__attribute__((visibility("default"))) somnar::FtpClient* somnar_create_ftp_client() {
    return std::make_unique<somnar::CurlFtpClient>().release();
}

// NOLINTNEXTLINE(readability-identifier-naming)
__attribute__((visibility("default"))) void somnar_destroy_ftp_client(somnar::FtpClient* client) {
    std::unique_ptr<somnar::FtpClient> owned(client);
}

}  // extern "C"
