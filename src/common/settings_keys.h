#pragma once

#include <string_view>

namespace somnar {

// Where each stored value lives: application, section, key.
struct SettingKey {
    std::string_view application;
    std::string_view section;
    std::string_view key;
};

namespace settings {

inline constexpr SettingKey kDialupName{"Verbindung", "Values", "Name"};
inline constexpr SettingKey kDialupUser{"Verbindung", "Values", "Userername"};
inline constexpr SettingKey kDialupPassword{"Verbindung", "Values", "Password"};
inline constexpr SettingKey kFtpServer{"VidOru FTP", "Values", "Server"};
inline constexpr SettingKey kFtpUser{"VidOru FTP", "Values", "User"};
inline constexpr SettingKey kFtpPassword{"VidOru FTP", "Values", "Password"};
inline constexpr SettingKey kFtpDirectory{"VidOru FTP", "Values", "Directory"};
// Only the user writes it (in the settings file): "1" makes TLS required for the upload.
inline constexpr SettingKey kFtpRequireTls{"VidOru FTP", "Values", "RequireTLS"};

}  // namespace settings
}  // namespace somnar
