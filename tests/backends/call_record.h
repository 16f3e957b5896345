#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace somnar::test {

// Waits until the call record `file` of a stand-in holds `line`, for what a stand-in notes
// on its own time (a released lock, a client gone). False when it does not within `timeout`.
bool waitForLine(const std::filesystem::path& file, const std::string& line,
                 std::chrono::milliseconds timeout);

}  // namespace somnar::test
