// Somnar Scheduler: reads the command line, then either answers without a window (the
// check, the test wake-up, help, version) or wires the Linux backends to the window model
// and runs the window system's event loop.

#include <QApplication>
#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/command_line.h"
#include "app/main_window_model.h"
#include "platform/linux/check/linux_failure_texts.h"
#include "platform/linux/check/linux_machine_check.h"
#include "platform/linux/desktop_notifier.h"
#include "platform/linux/dialup_entries.h"
#include "platform/linux/display_probe.h"
#include "platform/linux/journal_log.h"
#include "platform/linux/lazy_ftp_client.h"
#include "platform/linux/linux_connectivity.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_host_address.h"
#include "platform/linux/linux_program_info.h"
#include "platform/linux/linux_program_starter.h"
#include "platform/linux/linux_system_facts.h"
#include "platform/linux/linux_wake_alarm.h"
#include "platform/linux/lock_file_instance_guard.h"
#include "platform/linux/logind_power_manager.h"
#include "platform/linux/qsettings_store.h"
#include "platform/linux/responsive_wait.h"
#include "platform/linux/system_clock.h"
#include "platform/qt/app_view.h"
#include "platform/qt/platform_start_watch.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_tray_icon.h"
#include "platform/qt/startup_warm_up.h"
#include "platform/qt/termination_watch.h"
#include "platform/startup_steps.h"

namespace {

constexpr const char* kName = "somnar-scheduler";

// The check and the test wake-up, with the same backends the window uses.
int runWithoutWindow(const somnar::CommandLine& line, int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(kName));
    somnar::SystemClock clock;
    somnar::LinuxProgramInfo program(argc > 0 ? argv[0] : "");
    somnar::LogindPowerManager power;
    somnar::LinuxWakeAlarm wakeAlarm;
    somnar::LinuxSystemFacts facts;
    somnar::QSettingsStore settings;
    somnar::LinuxDialupEntries dialer;
    somnar::LazyFtpClient ftp(somnar::LazyFtpClient::defaultModulePaths(program.programFolder()));
    somnar::CheckServices services{
        power,  wakeAlarm, facts, settings,
        dialer, ftp,       clock, program.programFolder() + "/" + program.programName()};
    if (line.mode == somnar::RunMode::TestWake) {
        return somnar::runTestWake(services, line.testState, line.testSeconds, std::cout);
    }
    const auto items = somnar::checkMachine(services, line.checkFtp);
    std::cout << somnar::checkReport(items);
    return somnar::checkExitStatus(items);
}

// Qt ends the program with an abort when it reaches no display; say it in a sentence.
// The probe's connection is held until Qt has its own.
bool hasDesktopSession(somnar::DisplayProbe& display) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string chosen = platform != nullptr ? platform : "";
    if (!chosen.empty() && chosen.rfind("xcb", 0) != 0 && chosen.rfind("wayland", 0) != 0) {
        return true;  // offscreen and the like need no display
    }
    display = somnar::probeDisplay();
    if (display.state == somnar::DisplayState::Reachable) {
        return true;
    }
    std::cerr << kName << ": Das Programmfenster braucht eine Desktop-Sitzung ("
              << (display.state == somnar::DisplayState::None
                      ? "weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt"
                      : "die Anzeige „" + display.named + "“ ist nicht erreichbar")
              << "); ohne Fenster: " << kName << " --check oder --help\n";
    return false;
}

// The window and its backends, on the running application; returns its exit status.
int runWindow(QApplication& application, int argc, char* argv[]) {
    somnar::SystemClock clock;
    somnar::QtDialogs dialogs;
    somnar::QtDesktop desktop;
    somnar::LinuxProgramInfo program(argc > 0 ? argv[0] : "");
    somnar::LockFileInstanceGuard instance;
    somnar::ResponsiveWait responsiveWait;
    somnar::LogindPowerManager power(somnar::dbus::kDefaultTimeout, {}, &responsiveWait);
    somnar::LinuxDialupEntries dialer;
    somnar::QSettingsStore settings;
    somnar::QtTrayIcon tray;
    somnar::LinuxWakeAlarm wakeAlarm;
    somnar::LinuxProgramStarter programs;
    somnar::QtFileDialog fileDialog;
    somnar::LinuxConnectivity connectivity;
    somnar::LinuxHostAddress hostAddress;
    somnar::LinuxFiles files;
    somnar::LazyFtpClient ftp(somnar::LazyFtpClient::defaultModulePaths(program.programFolder()));
    somnar::JournalLog log;
    somnar::DesktopNotifier notifier;
    const somnar::LinuxFailureTexts failureTexts;
    somnar::Services services{clock,    dialogs,    desktop,      program,     instance,
                              power,    dialer,     settings,     tray,        wakeAlarm,
                              programs, fileDialog, connectivity, hostAddress, files,
                              ftp,      log,        notifier,     failureTexts};

    SOMNAR_STARTUP_MARK("backends");
    somnar::InfoWindow info(services);
    somnar::MainWindowControls controls;
    somnar::MainWindow form(services, info, controls);
    if (form.load() == somnar::StartOutcome::SecondCopy) {
        return 0;
    }
    SOMNAR_STARTUP_MARK("models and start-up");
    somnar::AppView view(form, info);
    dialogs.setParentWindow(&view.mainView());
    fileDialog.setParentWindow(&view.mainView());
    tray.setMenu(view.mainView().menuFor(&controls.trayMenu));
    SOMNAR_STARTUP_MARK("view built");
    controls.window.show();
    SOMNAR_STARTUP_MARK("shown");
    // The end of the session, kill or a closed terminal: what was typed is stored first.
    const somnar::SessionEndWatch sessionEnd(application, form);
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    SOMNAR_STARTUP_MARK("libraries loaded, main reached");
    const somnar::CommandLine line =
        somnar::parseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    if (const std::optional<int> status =
            somnar::answerDirectly(line, SOMNAR_VERSION, std::cout, std::cerr)) {
        return *status;
    }
    if (line.mode != somnar::RunMode::Window) {
        return runWithoutWindow(line, argc, argv);
    }
    somnar::DisplayProbe display;
    if (!hasDesktopSession(display)) {
        return 1;
    }
    SOMNAR_STARTUP_MARK("display probe");

    somnar::StartupWarmUp warmUp;
    somnar::PlatformStartWatch platformStart([&display] {
        std::cerr << kName << ": Das Programmfenster kann auf der Anzeige „" << display.named
                  << "“ nicht starten, Qt fehlt das Modul dafür (für Wayland das Paket "
                     "qt6-wayland); ohne Fenster: "
                  << kName << " --check oder --help\n";
    });
    QApplication application(argc, argv);
    platformStart.release();
    display.connection.reset();
    const std::jthread warmUpRest = warmUp.continueWithApplication();
    SOMNAR_STARTUP_MARK("Qt application");
    QApplication::setApplicationName(QString::fromLatin1(kName));
    // The program ends when its last window is unloaded, not when the main window is
    // only hidden to the notification area.
    QApplication::setQuitOnLastWindowClosed(false);

    const int status = runWindow(application, argc, argv);
    // Qt 6.4's Wayland client can wait forever for its event thread while the application
    // object goes; by now everything of the program's own has ended and stored its values.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        std::cout.flush();
        std::cerr.flush();
        std::_Exit(status);
    }
    return status;
}
