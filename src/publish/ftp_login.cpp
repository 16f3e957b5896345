#include "publish/ftp_login.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace somnar {
namespace {

bool dropPrefix(std::string& text, std::string_view prefix) {
    if (asciiLowered(text.substr(0, prefix.size())) != prefix) {
        return false;
    }
    text.erase(0, prefix.size());
    return true;
}

bool says(const std::string& setting) {
    constexpr std::array<std::string_view, 5> kYes = {"1", "true", "yes", "ja", "on"};
    const std::string value = asciiLowered(setting);
    return std::find(kYes.begin(), kYes.end(), value) != kYes.end();
}

}  // namespace

std::string asciiLowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

FtpLogin ftpLogin(std::string server, std::string user, std::string password, bool passive,
                  const std::string& requireTlsSetting) {
    const bool ftps = dropPrefix(server, "ftps://");
    if (!ftps) {
        dropPrefix(server, "ftp://");
    }
    if (!server.empty() && server.back() == '/') {
        server.pop_back();
    }
    const bool required = ftps || says(requireTlsSetting);
    return {std::move(server), std::move(user), std::move(password), passive,
            required ? FtpEncryption::Required : FtpEncryption::WhenOffered};
}

}  // namespace somnar
