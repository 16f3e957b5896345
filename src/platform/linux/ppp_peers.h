#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace somnar {

// The pppd peer names: the regular files of `folder` (such as /etc/ppp/peers) sorted by
// name, without hidden files and editor backups ("name~"). Empty when the folder is missing
// or unreadable.
std::vector<std::string> listPppPeers(const std::filesystem::path& folder);

}  // namespace somnar
