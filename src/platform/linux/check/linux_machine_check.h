#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "common/machine_check.h"
#include "platform/clock.h"
#include "platform/dialer.h"
#include "platform/ftp_client.h"
#include "platform/power_manager.h"
#include "platform/settings_store.h"
#include "platform/system_facts.h"
#include "platform/wake_alarm.h"

namespace somnar {

// The seams the Linux check asks, as the window's own backends provide them.
struct CheckServices {
    PowerManager& power;
    WakeAlarm& wakeAlarm;
    SystemFacts& facts;
    SettingsStore& settings;
    Dialer& dialer;
    FtpClient& ftp;
    Clock& clock;
    std::string programPath;  // the running program, for the line that grants it the alarm
};

// Can this machine wake itself from the sleep state, and may this program make it?
// logind, the state's answer and its wake-up; for hibernation also the resume.
std::vector<CheckItem> checkSleepState(CheckServices& services, SleepState state);

// Everything: both states, the stored dial-up connection and, with `withFtp`, a login
// on the stored FTP server (nothing is uploaded).
std::vector<CheckItem> checkMachine(CheckServices& services, bool withFtp);

// The test wake-up of `--test-wake`, after the check of that state: what is missing is
// told instead of a sleep that could not wake.
int runTestWake(CheckServices& services, SleepState state, int ahead, std::ostream& out);

}  // namespace somnar
