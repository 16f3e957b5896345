// Somnar Scheduler: wires the Linux backends to the window model and runs the
// window system's event loop.

#include <QApplication>

#include "app/main_window_model.h"
#include "platform/linux/desktop_notifier.h"
#include "platform/linux/dialup_entries.h"
#include "platform/linux/journal_log.h"
#include "platform/linux/lazy_ftp_client.h"
#include "platform/linux/linux_connectivity.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_host_address.h"
#include "platform/linux/linux_program_info.h"
#include "platform/linux/linux_program_starter.h"
#include "platform/linux/linux_wake_alarm.h"
#include "platform/linux/lock_file_instance_guard.h"
#include "platform/linux/logind_power_manager.h"
#include "platform/linux/qsettings_store.h"
#include "platform/linux/system_clock.h"
#include "platform/qt/app_view.h"
#include "platform/qt/font_warm_up.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_tray_icon.h"

int main(int argc, char* argv[]) {
    somnar::FontWarmUp fonts;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("somnar-scheduler"));
    // The program ends when its last window is unloaded, not when the main window is
    // only hidden to the notification area.
    QApplication::setQuitOnLastWindowClosed(false);

    somnar::SystemClock clock;
    somnar::QtDialogs dialogs;
    somnar::QtDesktop desktop;
    somnar::LinuxProgramInfo program(argc > 0 ? argv[0] : "");
    somnar::LockFileInstanceGuard instance;
    somnar::LogindPowerManager power;
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
    somnar::Services services{clock,        dialogs,     desktop, program,   instance, power,
                              dialer,       settings,    tray,    wakeAlarm, programs, fileDialog,
                              connectivity, hostAddress, files,   ftp,       log,      notifier};

    somnar::FrmInfo info(services);
    somnar::Form1 form(services, info);
    if (form.Form_Load() == somnar::StartOutcome::SecondCopy) {
        return 0;
    }
    fonts.wait();
    somnar::AppView view(form, info);
    dialogs.setParentWindow(&view.mainView());
    fileDialog.setParentWindow(&view.mainView());
    form.window.show();
    return QApplication::exec();
}
