#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/windows_api.h"

namespace somnar::testing {

// A fresh folder with a blank in its name, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("somnar test " + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(++count_))) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

  private:
    static inline int count_ = 0;
    std::filesystem::path path_;
};

inline std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace somnar::testing
