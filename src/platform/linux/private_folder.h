#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string_view>

#include "platform/linux/unique_fd.h"

namespace somnar {

// Creates the folder and any missing parents 0700, as the XDG rules ask for; an
// existing folder keeps its mode. False when it is not a folder afterwards.
bool ensurePrivateFolder(const std::filesystem::path& folder);

// A new file that takes the place of another only once it is complete: made beside the
// target under a fresh hidden name (created exclusively, so never through a link planted
// there) and renamed over the target's name. Whatever stood under that name, a symbolic
// link included, is replaced, never written through. Removed again when it never took
// the target's place, so a failure leaves the target as it was and no file behind.
class ReplacementFile {
  public:
    // mode: that of the new file before the umask.
    ReplacementFile(std::filesystem::path target, mode_t mode);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Whether the new file could be made.
    [[nodiscard]] bool valid() const { return fd_.valid(); }
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

    // Appends the bytes; false when they did not all get in.
    bool write(std::string_view bytes);
    // Brings the file now under its own name to disk (also when a writer given path() put
    // a new file there) and renames it over the target. False when it did not take the
    // target's place.
    bool replaceTarget();

  private:
    std::filesystem::path target_;
    std::filesystem::path path_;
    UniqueFd fd_;
    bool replaced_ = false;
};

}  // namespace somnar
