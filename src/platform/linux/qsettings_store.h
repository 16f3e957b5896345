#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace somnar {

// The settings as INI files, one per application:
// <config home>/somnar-scheduler/<application>.ini, section = INI group, key = key.
//
// The files hold passwords, so they are kept readable by their owner only (0600) and
// the folder is created 0700. A file that cannot be read or parsed is left untouched
// by reading (all its values read as empty); the next write to that application moves
// it aside as "<application>.ini.unreadable" (".unreadable.2", ... when that name is
// taken) and starts a fresh file.
//
// A write replaces the file with a complete new one and says true only once that is on
// disk and reads back with every value; otherwise (a full disk, say) the file stays as it
// was, byte for byte, and later reads give its old values. A symbolic link under the file's
// name that leads to a file is kept and that file is rewritten (a user's link into their own
// collection of settings); a link that leads nowhere is left as it is and writes fail, as
// they do for a file this user may not write or replace.
//
// A value written by hand with commas (Password=ab,cd) reads as that text. A line that is
// not UTF-8 (from an editor that writes Latin-1) reads as Latin-1, the file left as it is,
// and the next write stores it in UTF-8. A file is parsed once for all its values while it
// stays as it was.
class QSettingsStore : public SettingsStore {
  public:
    // configHome: the folder that holds "somnar-scheduler"; empty means the user's
    // configuration folder ($XDG_CONFIG_HOME, else ~/.config).
    explicit QSettingsStore(std::filesystem::path configHome = {});

    std::string read(std::string_view application, std::string_view section,
                     std::string_view key) override;
    bool write(std::string_view application, std::string_view section, std::string_view key,
               std::string_view value) override;
    bool writeValues(std::string_view application, std::string_view section,
                     const std::vector<std::pair<std::string, std::string>>& values) override;

    std::string location(std::string_view application) const override;

    // The file that holds the values of the application ("" for a name that cannot be
    // a file name, such as one with a slash).
    std::filesystem::path fileFor(std::string_view application) const;

  private:
    // What tells one version of a file from another: a rewrite changes the times, a
    // replacement the file itself.
    struct FileStamp {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        std::int64_t changedNs = 0;
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    // Every value of a file as last read ("section/key" or "key"), while it is unchanged.
    struct ReadValues {
        FileStamp stamp;
        std::map<std::string, std::string, std::less<>> values;
    };

    std::optional<std::string> lastRead(std::string_view application, const FileStamp& stamp,
                                        std::string_view key);

    std::filesystem::path folder_;
    std::mutex lastReadMutex_;
    std::map<std::string, ReadValues, std::less<>> lastRead_;
};

}  // namespace somnar
