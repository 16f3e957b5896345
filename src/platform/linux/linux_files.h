#pragma once

#include "platform/files.h"

#include <string>

namespace somnar {

// Files and folders of a Linux user: paths are byte strings as the kernel takes them.
class LinuxFiles final : public Files {
  public:
    // applicationName: the name of this program's data folder.
    explicit LinuxFiles(std::string applicationName = "somnar-scheduler");

    // Tried by creating and removing a file there: the permission bits alone say yes to
    // root everywhere, also on a read-only mount.
    bool folderWritable(const std::string& folder) override;
    // $XDG_DATA_HOME/<application>, else ~/.local/share/<application>; made 0700 (its
    // missing parents too) when missing, an existing folder is kept as it is.
    std::string dataFolder() override;
    // Written to a new file beside it (0644 before the umask) and renamed over the name
    // only when complete: a link under the name is replaced, not followed, and a failed
    // write leaves the old file (or none) and no part of the new one.
    bool writeSingleByteText(const std::string& path, const std::string& utf8Text) override;

  private:
    std::string applicationName_;
};

}  // namespace somnar
