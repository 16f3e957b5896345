#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace somnar {

// Per-user text values addressed by application, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // The stored text, or the empty text when the value was never stored or the
    // store cannot be read.
    virtual std::string read(std::string_view application, std::string_view section,
                             std::string_view key) = 0;

    // Creates or replaces the value; an empty text is stored, not removed.
    // Returns false when the value could not be written.
    virtual bool write(std::string_view application, std::string_view section, std::string_view key,
                       std::string_view value) = 0;

    // Writes several values of one section in their order, in one go (one rewrite of
    // the file). Returns false when they could not be written.
    virtual bool writeValues(std::string_view application, std::string_view section,
                             const std::vector<std::pair<std::string, std::string>>& values) = 0;

    // Where the values of the application are kept (a file path), for messages.
    virtual std::string location(std::string_view application) const = 0;
};

}  // namespace somnar
