#include "backends/call_record.h"

#include "backends/test_environment.h"

#include <algorithm>
#include <thread>

namespace somnar::test {

bool waitForLine(const std::filesystem::path& file, const std::string& line,
                 std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto lines = readLines(file);
        if (std::find(lines.begin(), lines.end(), line) != lines.end()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace somnar::test
