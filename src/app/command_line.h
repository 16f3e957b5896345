#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sleep_state.h"

namespace somnar {

enum class RunMode { Window, Check, TestWake, Help, Version };

// What the program was asked to do on its command line.
struct CommandLine {
    RunMode mode = RunMode::Window;
    bool checkFtp = false;                       // --check --check-ftp
    SleepState testState = SleepState::Standby;  // --test-wake
    int testSeconds = 60;
    std::string error;  // German; set when the arguments make no sense (exit status 2)
};

inline constexpr int kShortestTestWake = 20;

// The arguments after the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

std::string helpText();

// What the command line asks that needs nothing of the system: arguments that make no
// sense (said on `err`, status 2), the help and the version (on `out`, status 0). Empty
// for the check, the test wake-up and the window.
std::optional<int> answerDirectly(const CommandLine& line, std::string_view version,
                                  std::ostream& out, std::ostream& err);

}  // namespace somnar
