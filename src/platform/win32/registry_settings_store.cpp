#include "platform/win32/registry_settings_store.h"

#include "platform/win32/owned_handle.h"
#include "platform/win32/wide_text.h"

#include <optional>
#include <vector>

namespace somnar {

namespace {

// A name that would address another key ("a\b") or none ("") addresses nothing.
bool isKeyName(std::string_view name) {
    return !name.empty() && name.find('\\') == std::string_view::npos;
}

// The stored text; empty when absent, unreadable or not text.
std::optional<std::wstring> readText(HKEY root, const std::wstring& path,
                                     const std::wstring& name) {
    DWORD size = 0;
    if (::RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (::RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(),
                       &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    text.resize(size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return text;
}

bool writeText(HKEY key, const std::wstring& name, const std::wstring& text) {
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

win32::OwnedKey createKey(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return win32::OwnedKey(key);
}

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(HKEY root, std::string rootName, std::wstring base)
    : root_(root), rootName_(std::move(rootName)), base_(std::move(base)) {}

std::wstring RegistrySettingsStore::keyPath(std::string_view application,
                                            std::string_view section) const {
    return base_ + L'\\' + win32::widen(application) + L'\\' + win32::widen(section);
}

std::string RegistrySettingsStore::read(std::string_view application, std::string_view section,
                                        std::string_view key) {
    if (!isKeyName(application) || !isKeyName(section)) {
        return {};
    }
    const auto text = readText(root_, keyPath(application, section), win32::widen(key));
    return text ? win32::narrow(*text) : std::string();
}

bool RegistrySettingsStore::write(std::string_view application, std::string_view section,
                                  std::string_view key, std::string_view value) {
    return writeValues(application, section, {{std::string(key), std::string(value)}});
}

bool RegistrySettingsStore::writeValues(
    std::string_view application, std::string_view section,
    const std::vector<std::pair<std::string, std::string>>& values) {
    if (!isKeyName(application) || !isKeyName(section)) {
        return false;
    }
    const std::wstring path = keyPath(application, section);
    const win32::OwnedKey key = createKey(root_, path);
    if (!key) {
        return false;
    }
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> earlier;
    for (const auto& [name, value] : values) {
        const std::wstring wideName = win32::widen(name);
        earlier.emplace_back(wideName, readText(root_, path, wideName));
        if (writeText(key.get(), wideName, win32::widen(value))) {
            continue;
        }
        for (const auto& [written, text] : earlier) {
            if (text) {
                writeText(key.get(), written, *text);
            } else {
                ::RegDeleteValueW(key.get(), written.c_str());
            }
        }
        return false;
    }
    return true;
}

std::string RegistrySettingsStore::location(std::string_view application) const {
    return rootName_ + "\\" + win32::narrow(base_) + "\\" + std::string(application);
}

}  // namespace somnar
