#pragma once

#include <string>

namespace somnar {

// The few file operations the logic needs, with folders as plain path texts.
class Files {
  public:
    virtual ~Files() = default;

    // Whether a file may be created in the folder by this user.
    virtual bool folderWritable(const std::string& folder) = 0;
    // This program's own data folder for the user; created when missing. Empty when it
    // cannot be had.
    virtual std::string dataFolder() = 0;
    // Creates or replaces the file with the text converted to a single-byte encoding
    // (ISO 8859-1; characters beyond it become "?"). A new file is written beside it and
    // renamed over the name, so whatever stood under the name (a symbolic link included)
    // is replaced, never written through. False when it cannot be written; the old file
    // is then left as it was.
    virtual bool writeSingleByteText(const std::string& path, const std::string& utf8Text) = 0;
};

}  // namespace somnar
