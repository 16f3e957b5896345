#pragma once

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialer.h"
#include "platform/ftp_client.h"
#include "platform/power_manager.h"
#include "platform/settings_store.h"
#include "platform/system_facts.h"
#include "platform/wake_alarm.h"

namespace somnar {

// The seams the check asks, as the window's own backends provide them.
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

enum class CheckState { Ok, Missing, NotNeeded, Unknown };

struct CheckItem {
    std::string name;
    CheckState state = CheckState::Ok;
    std::string detail;  // what was found
    std::string fix;     // for a missing or unknown item: the command or setting that mends
                         // it or tells more
};

// Can this machine wake itself from the sleep state, and may this program make it?
// logind, the state's answer and its wake-up; for hibernation also the resume.
std::vector<CheckItem> checkSleepState(CheckServices& services, SleepState state);

// Everything: both states, the stored dial-up connection and, with `withFtp`, a login
// on the stored FTP server (nothing is uploaded).
std::vector<CheckItem> checkMachine(CheckServices& services, bool withFtp);

// The login on the stored FTP server, nothing uploaded; not needed when none is stored.
CheckItem ftpLoginItem(SettingsStore& store, FtpClient& ftp);

// One line an item ("Name: ok (detail)"), the fix indented below a missing or unknown one.
std::string checkReport(const std::vector<CheckItem>& items);

// 0 when nothing is missing or unknown, 1 otherwise.
int checkExitStatus(const std::vector<CheckItem>& items);

}  // namespace somnar
