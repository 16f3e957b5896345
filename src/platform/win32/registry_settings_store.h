#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/settings_store.h"
#include "platform/win32/windows_api.h"

namespace somnar {

// The settings in the registry where Windows programs of this kind have always kept
// theirs: <root>\<base>\<application>\<section>, one REG_SZ value per key, so values an
// earlier program stored there read as they are. Texts are UTF-16 in the registry.
class RegistrySettingsStore final : public SettingsStore {
  public:
    static constexpr const wchar_t* kBase = L"Software\\VB and VBA Program Settings";

    // root and rootName: the open root key and its name for messages; base: the key under
    // it that holds one key per application.
    explicit RegistrySettingsStore(HKEY root = HKEY_CURRENT_USER,
                                   std::string rootName = "HKEY_CURRENT_USER",
                                   std::wstring base = kBase);

    // Empty also for a value of another type than text.
    std::string read(std::string_view application, std::string_view section,
                     std::string_view key) override;
    bool write(std::string_view application, std::string_view section, std::string_view key,
               std::string_view value) override;
    // The registry has no transaction here: when one value cannot be written, those
    // written before it get their earlier texts back and the answer is false.
    bool writeValues(std::string_view application, std::string_view section,
                     const std::vector<std::pair<std::string, std::string>>& values) override;

    // "HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>".
    std::string location(std::string_view application) const override;

  private:
    std::wstring keyPath(std::string_view application, std::string_view section) const;

    HKEY root_;
    std::string rootName_;
    std::wstring base_;
};

}  // namespace somnar
