#pragma once

#include "platform/clock.h"
#include "platform/connectivity.h"
#include "platform/desktop.h"
#include "platform/dialer.h"
#include "platform/dialogs.h"
#include "platform/failure_texts.h"
#include "platform/file_dialog.h"
#include "platform/files.h"
#include "platform/ftp_client.h"
#include "platform/host_address.h"
#include "platform/instance_guard.h"
#include "platform/log.h"
#include "platform/notifier.h"
#include "platform/power_manager.h"
#include "platform/program_info.h"
#include "platform/program_starter.h"
#include "platform/settings_store.h"
#include "platform/tray_icon.h"
#include "platform/wake_alarm.h"

namespace somnar {

// The platform seams the logic talks to, handed over by whoever builds the model.
struct Services {
    Clock& clock;
    Dialogs& dialogs;
    Desktop& desktop;
    ProgramInfo& program;
    InstanceGuard& instance;
    PowerManager& power;
    Dialer& dialer;
    SettingsStore& settings;
    TrayIcon& tray;
    WakeAlarm& wakeAlarm;
    ProgramStarter& programs;
    FileDialog& fileDialog;
    Connectivity& connectivity;
    HostAddress& hostAddress;
    Files& files;
    FtpClient& ftp;
    Log& log;
    Notifier& notifier;
    const FailureTexts& failureTexts;
};

}  // namespace somnar
