#include "platform/linux/linux_system_facts.h"

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>

namespace somnar {

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kKiB = 1024;

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A whole decimal number, or nothing.
std::optional<std::uint64_t> number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

bool accessible(const fs::path& path, int mode) {
    return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

bool isExecutableFile(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error) && accessible(file, X_OK);
}

// "." and ".." name folders, which are neither programs nor peers.
bool isPlainName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos;
}

}  // namespace

LinuxSystemFacts::LinuxSystemFacts(fs::path root) : root_(std::move(root)) {}

bool LinuxSystemFacts::wakeAlarmExists() {
    std::error_code error;
    return fs::exists(root_ / "sys/class/rtc/rtc0/wakealarm", error);
}

bool LinuxSystemFacts::wakeAlarmWritable() {
    return accessible(root_ / "sys/class/rtc/rtc0/wakealarm", W_OK);
}

bool LinuxSystemFacts::clockKeepsLocalTime() {
    std::ifstream in(root_ / "etc/adjtime");
    std::string line;
    for (int i = 0; i < 3; ++i) {
        if (!std::getline(in, line)) {
            return false;
        }
    }
    return trimmed(line) == "LOCAL";
}

std::string LinuxSystemFacts::resumeDevice() {
    std::ifstream in(root_ / "sys/power/resume");
    std::string line;
    std::getline(in, line);
    const std::string_view device = trimmed(line);
    return device == "0:0" ? std::string() : std::string(device);
}

std::uint64_t LinuxSystemFacts::swapBytes() {
    // "Filename Type Size Used Priority" under a heading line (whose "Size" is no number);
    // the kernel escapes blanks in file names, so the columns split at white space.
    std::ifstream in(root_ / "proc/swaps");
    std::string line;
    std::uint64_t kib = 0;
    while (std::getline(in, line)) {
        std::istringstream columns(line);
        std::string filename, type, size;
        if (columns >> filename >> type >> size) {
            kib += number(size).value_or(0);
        }
    }
    return kib * kKiB;
}

std::uint64_t LinuxSystemFacts::memoryInUseBytes() {
    // "MemTotal:       16314460 kB"
    std::ifstream in(root_ / "proc/meminfo");
    std::optional<std::uint64_t> total;
    std::optional<std::uint64_t> available;
    for (std::string key, value, unit; in >> key >> value && std::getline(in, unit);) {
        if (key == "MemTotal:") {
            total = number(value);
        } else if (key == "MemAvailable:") {
            available = number(value);
        }
    }
    if (!total || !available || *available > *total) {
        return 0;
    }
    return (*total - *available) * kKiB;
}

bool LinuxSystemFacts::programAvailable(const std::string& name) {
    if (!isPlainName(name)) {
        return false;
    }
    if (const char* path = std::getenv("PATH")) {
        // An empty entry means the working folder, as for execvp.
        for (std::string_view rest = path;;) {
            const auto colon = rest.find(':');
            if (isExecutableFile(fs::path(rest.substr(0, colon)) / name)) {
                return true;
            }
            if (colon == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(colon + 1);
        }
    }
    for (const char* folder : {"usr/sbin", "sbin", "usr/bin"}) {
        if (isExecutableFile(root_ / folder / name)) {
            return true;
        }
    }
    return false;
}

bool LinuxSystemFacts::pppPeerExists(const std::string& name) {
    std::error_code error;
    return isPlainName(name) && fs::is_regular_file(root_ / "etc/ppp/peers" / name, error);
}

}  // namespace somnar
