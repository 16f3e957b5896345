#pragma once

#include <vector>

#include "common/machine_check.h"
#include "platform/dialer.h"
#include "platform/ftp_client.h"
#include "platform/power_policy.h"
#include "platform/settings_store.h"

namespace somnar {

// The seams the check asks where the power policy decides about sleeping and waking
// (Windows).
struct PolicyCheckServices {
    PowerPolicy& policy;
    SettingsStore& settings;
    Dialer& dialer;
    FtpClient& ftp;
};

// Can this machine sleep and be woken by a timer, as its power settings say: standby,
// hibernation, the wake timers of the active power plan on mains and on battery; then
// the stored dial-up connection and, with `withFtp`, a login on the stored FTP server.
// What the system does not tell is "unbekannt", never "ok".
std::vector<CheckItem> checkPowerPolicy(PolicyCheckServices& services, bool withFtp);

}  // namespace somnar
