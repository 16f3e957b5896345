// Somnar Scheduler on Windows: reads the command line, then either answers in the console
// that started it (help, version, the check, the test wake-up) or wires the Win32
// backends to the window model and runs the message loop.
//
// Built twice: somnar-scheduler.exe, the window program, and with SOMNAR_CONSOLE_PROGRAM
// the console program somnar-scheduler.com beside it. A prompt waits for the .com and
// gets its exit status (and cmd runs it for the bare name "somnar-scheduler": .COM comes
// before .EXE in PATHEXT); the .com answers the options itself and starts the .exe for
// the window.

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/main_window_model.h"
#include "common/failure_texts.h"
#include "platform/curl/curl_ftp_client.h"
#include "platform/startup_steps.h"
#include "platform/win32/check/power_policy_check.h"
#include "platform/win32/console_output.h"
#include "platform/win32/file_log.h"
#include "platform/win32/mutex_instance_guard.h"
#include "platform/win32/ras_dialer.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/view/app_view.h"
#include "platform/win32/view/balloon_notifier.h"
#include "platform/win32/view/pumping_call.h"
#include "platform/win32/view/win32_desktop.h"
#include "platform/win32/view/win32_dialogs.h"
#include "platform/win32/view/win32_file_dialog.h"
#include "platform/win32/view/win32_tray_icon.h"
#include "platform/win32/waitable_timer_wake_alarm.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/windows_clock.h"
#include "platform/win32/windows_connectivity.h"
#include "platform/win32/windows_files.h"
#include "platform/win32/windows_power_manager.h"
#include "platform/win32/windows_program_info.h"
#include "platform/win32/windows_program_starter.h"
#include "platform/win32/windows_system_facts.h"
#include "platform/win32/winsock_host_address.h"
#include "schedule/test_wake.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

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

// The check and the test wake-up, with the backends the window uses.
int runWithoutWindow(const somnar::CommandLine& line) {
    namespace win32 = somnar::win32;
    somnar::WindowsClock clock;
    win32::DirectCall directCall;
    win32::WindowsPowerManager power(directCall);
    win32::WaitableTimerWakeAlarm wakeAlarm;
    if (line.mode == somnar::RunMode::TestWake) {
        return somnar::measureTestWake(power, wakeAlarm, clock, somnar::PortableFailureTexts{},
                                       line.testState, line.testSeconds, std::cout);
    }
    somnar::WindowsSystemFacts facts;
    somnar::RegistrySettingsStore settings;
    win32::RasDialer dialer;
    somnar::CurlFtpClient ftp;
    somnar::PolicyCheckServices services{facts, settings, dialer, ftp};
    const auto items = somnar::checkPowerPolicy(services, line.checkFtp);
    std::cout << somnar::checkReport(items);
    return somnar::checkExitStatus(items);
}

#ifdef SOMNAR_CONSOLE_PROGRAM

// The command line after the program's name, as it was typed (quotes kept).
std::wstring argumentsAsTyped() {
    std::wstring_view line = ::GetCommandLineW();
    std::size_t end = 0;
    if (!line.empty() && line.front() == L'"') {
        end = line.find(L'"', 1);
        end = end == std::wstring_view::npos ? line.size() : end + 1;
    } else {
        end = std::min(line.find_first_of(L" \t"), line.size());
    }
    return std::wstring(line.substr(end));
}

// Without an option: the window program beside this one opens with the same arguments,
// and the prompt comes back at once.
int startWindowProgram() {
    const somnar::WindowsProgramInfo program;
    const std::wstring path =
        somnar::win32::widen(program.programFolder() + "\\" + program.programName() + ".exe");
    std::wstring commandLine = L'"' + path + L'"' + argumentsAsTyped();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &started) == 0) {
        const DWORD error = ::GetLastError();
        const somnar::win32::ConsoleStreams streams(::GetStdHandle(STD_OUTPUT_HANDLE),
                                                    ::GetStdHandle(STD_ERROR_HANDLE));
        std::cerr << "somnar-scheduler: das Programmfenster ließ sich nicht öffnen: "
                  << somnar::win32::narrow(path) << " startet nicht ("
                  << somnar::win32::systemMessage(error) << ").\n";
        return 1;
    }
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return 0;
}

#else

// A window program has no console of its own: its answers go to the console it was
// started from (after that console's prompt has come back), unless its output already
// leads somewhere (a pipe or a file).
void useStartingConsole(std::optional<somnar::win32::ConsoleStreams>& streams) {
    if (::GetFileType(::GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN) {
        streams.emplace(::GetStdHandle(STD_OUTPUT_HANDLE), ::GetStdHandle(STD_ERROR_HANDLE));
        return;
    }
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    // A handle of the process's own for the life of the process, which Windows closes.
    HANDLE console =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    streams.emplace(console, console);
}

// COM for the names screen readers read, on the window's thread for the program's life.
class ComApartment {
  public:
    ComApartment() : ok_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (ok_) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool ok_;
};

int runWindow() {
    const ComApartment com;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    SOMNAR_STARTUP_MARK("COM and common controls");

    namespace win32 = somnar::win32;
    somnar::WindowsClock clock;
    win32::Win32Dialogs dialogs;
    win32::Win32Desktop desktop;
    somnar::WindowsProgramInfo program;
    somnar::MutexInstanceGuard instance;
    win32::PumpingCall pumpingCall;
    win32::WindowsPowerManager power(pumpingCall);
    win32::RasDialer dialer;
    somnar::RegistrySettingsStore settings;
    win32::Win32TrayIcon tray;
    win32::WaitableTimerWakeAlarm wakeAlarm;
    somnar::WindowsProgramStarter programs;
    win32::Win32FileDialog fileDialog;
    win32::WindowsConnectivity connectivity;
    win32::WinsockHostAddress hostAddress;
    somnar::WindowsFiles files;
    somnar::CurlFtpClient ftp;
    somnar::FileLog log;
    win32::BalloonNotifier notifier;
    const somnar::PortableFailureTexts failureTexts;
    somnar::Services services{clock,    dialogs,    desktop,      program,     instance,
                              power,    dialer,     settings,     tray,        wakeAlarm,
                              programs, fileDialog, connectivity, hostAddress, files,
                              ftp,      log,        notifier,     failureTexts};
    SOMNAR_STARTUP_MARK("backends");

    somnar::InfoWindow info(services);
    somnar::MainWindowControls windowControls;
    somnar::MainWindow form(services, info, windowControls);
    if (form.load() == somnar::StartOutcome::SecondCopy) {
        return 0;
    }
    SOMNAR_STARTUP_MARK("models and start-up");
    win32::AppView view(form, info);
    SOMNAR_STARTUP_MARK("view built");
    dialogs.setOwner(view.mainView().handle());
    fileDialog.setOwner(view.mainView().handle());
    windowControls.window.show();
    SOMNAR_STARTUP_MARK("shown");
    return win32::runMessageLoop();
}
#endif

}  // namespace

int main() {
    SOMNAR_STARTUP_MARK("libraries loaded, main reached");
    const somnar::CommandLine line = somnar::parseCommandLine(arguments());
    const bool window = line.mode == somnar::RunMode::Window && line.error.empty();
#ifdef SOMNAR_CONSOLE_PROGRAM
    if (window) {
        return startWindowProgram();
    }
    const somnar::win32::ConsoleStreams streams(::GetStdHandle(STD_OUTPUT_HANDLE),
                                                ::GetStdHandle(STD_ERROR_HANDLE));
#else
    std::optional<somnar::win32::ConsoleStreams> streams;
    if (!window) {
        useStartingConsole(streams);
    }
#endif
    if (const std::optional<int> status =
            somnar::answerDirectly(line, SOMNAR_VERSION, std::cout, std::cerr)) {
        return *status;
    }
#ifdef SOMNAR_CONSOLE_PROGRAM
    return runWithoutWindow(line);
#else
    return window ? runWindow() : runWithoutWindow(line);
#endif
}
