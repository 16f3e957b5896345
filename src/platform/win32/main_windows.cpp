// Somnar Scheduler on Windows: reads the command line, then either answers in the console
// that started it (help, version, the check, the test wake-up) or wires the Win32
// backends to the window model and runs the message loop.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <shellapi.h>

namespace {

constexpr const char* kName = "somnar-scheduler";

// The arguments after the program's name, as UTF-8.
std::vector<std::string> arguments() {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        result.push_back(somnar::win32::narrow(wide[i]));
    }
    ::LocalFree(static_cast<HLOCAL>(wide));
    return result;
}

// A window program has no console of its own: its answers go to the console it was
// started from, unless its output already leads somewhere (a pipe or a file).
void useStartingConsole() {
    if (::GetFileType(::GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN) {
        return;
    }
    if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
        FILE* stream = nullptr;
        ::freopen_s(&stream, "CONOUT$", "w", stdout);
        ::freopen_s(&stream, "CONOUT$", "w", stderr);
        ::SetConsoleOutputCP(CP_UTF8);
    }
}

}  // namespace

int main() {
    const somnar::CommandLine line = somnar::parseCommandLine(arguments());
    if (line.mode != somnar::RunMode::Window || !line.error.empty()) {
        useStartingConsole();
    }
    if (!line.error.empty()) {
        std::cerr << kName << ": " << line.error << "\nHilfe: " << kName << " --help\n";
        return 2;
    }
    switch (line.mode) {
        case somnar::RunMode::Help:
            std::cout << somnar::helpText();
            return 0;
        case somnar::RunMode::Version:
            std::cout << kName << ' ' << SOMNAR_VERSION << '\n';
            return 0;
        case somnar::RunMode::Check:
        case somnar::RunMode::TestWake:
        case somnar::RunMode::Window:
            break;
    }
    return 1;
}
