#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace somnar {

// The pppd peer names: the regular files of `folder` (such as /etc/ppp/peers) sorted by
// name, without hidden files and editor backups ("name~"). Empty when the folder is missing
// or unreadable.
std::vector<std::string> listPppPeers(const std::filesystem::path& folder);

// Whether pon can dial a peer of this name. pon takes a leading "-" for a request of its
// own and hands the name on to pppd unquoted, so the shell splits it at blanks and other
// white space and expands "*", "?" and "[".
bool ponCanDial(const std::string& peer);

}  // namespace somnar
