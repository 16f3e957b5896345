#pragma once

#include <string>

#include "platform/ftp_client.h"

namespace somnar {

// The login for the server as the user typed it. "ftps://host" asks for TLS as the stored
// setting does (explicit TLS on the FTP port: the way hosting offers it); "ftp://" and one
// final "/" are dropped. requireTlsSetting: the stored value ("1", "true", "ja", ...).
// The text with A to Z as a to z: server texts and settings are compared without case.
std::string asciiLowered(std::string text);

FtpLogin ftpLogin(std::string server, std::string user, std::string password, bool passive,
                  const std::string& requireTlsSetting);

}  // namespace somnar
