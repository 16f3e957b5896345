#pragma once

#include <string>
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

}  // namespace somnar
