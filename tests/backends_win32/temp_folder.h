#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/windows_api.h"

namespace somnar::testing {

// A fresh folder with a blank in its name, removed with everything in it at the end.
struct TempFolder {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("somnar test " + std::to_string(::GetCurrentProcessId()));
    TempFolder() { std::filesystem::create_directories(path); }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::filesystem::path operator/(const std::string& name) const { return path / name; }
};

inline std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace somnar::testing
