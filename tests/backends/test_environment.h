#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace somnar::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Empty when it could not be made.
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Sets an environment variable for the lifetime of the object, then restores it.
class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> previous_;
};

// The lines of a text file; empty when it does not exist.
std::vector<std::string> readLines(const std::filesystem::path& file);

// What a shell command prints on standard output; empty when it cannot run.
std::string commandOutput(const std::string& command);

}  // namespace somnar::test
