#include "platform/linux/ppp_peers.h"

#include <algorithm>
#include <string_view>
#include <system_error>

namespace somnar {

namespace {

bool isPeerName(const std::string& name) {
    return !name.empty() && name.front() != '.' && name.back() != '~';
}

}  // namespace

std::vector<std::string> listPppPeers(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entry(folder, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::string name = entry->path().filename().string();
        // Follows links, as pppd does when it opens a peer file; a dangling link is no peer.
        std::error_code typeError;
        if (isPeerName(name) && entry->is_regular_file(typeError)) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool ponCanDial(const std::string& peer) {
    constexpr std::string_view kUnsafe = " \t\n\v\f\r*?[";
    return !peer.empty() && peer.front() != '-' && peer.find_first_of(kUnsafe) == std::string::npos;
}

}  // namespace somnar
