#pragma once

#include <optional>
#include <string>
#include <vector>

namespace somnar {

// One choice of the dialog's file-type list: what it says and which names it shows.
struct FileFilter {
    std::string caption;
    std::vector<std::string> patterns;
};

struct ChosenFile {
    std::string folder;  // ends with the folder separator
    std::string name;
};

// The desktop's dialog for choosing an existing file.
class FileDialog {
  public:
    virtual ~FileDialog() = default;

    // Empty when the user cancelled or the dialog failed. The first filter is chosen
    // at the start.
    virtual std::optional<ChosenFile> askOpenFileName(const std::string& title,
                                                      const std::string& folder,
                                                      const std::vector<FileFilter>& filters) = 0;
};

}  // namespace somnar
