#pragma once

#include <filesystem>

namespace somnar {

// Creates the folder and any missing parents 0700, as the XDG rules ask for; an
// existing folder keeps its mode. False when it is not a folder afterwards.
bool ensurePrivateFolder(const std::filesystem::path& folder);

}  // namespace somnar
