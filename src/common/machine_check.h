#pragma once

// What every machine check reports, line by line, and the item both systems share: the
// login on the stored FTP server.

#include <string>
#include <vector>

#include "platform/ftp_client.h"
#include "platform/settings_store.h"

namespace somnar {

enum class CheckState { Ok, Missing, NotNeeded, Unknown };

struct CheckItem {
    std::string name;
    CheckState state = CheckState::Ok;
    std::string detail;  // what was found
    std::string fix;     // for a missing or unknown item: the command or setting that mends
                         // it or tells more
};

// The stored FTP server: the login, the folder, and a small file stored and deleted again
// there; not needed when none is stored.
CheckItem ftpLoginItem(SettingsStore& store, FtpClient& ftp);

// One line an item ("Name: ok (detail)"), the fix indented below a missing or unknown one.
std::string checkReport(const std::vector<CheckItem>& items);

// 0 when nothing is missing or unknown, 1 otherwise.
int checkExitStatus(const std::vector<CheckItem>& items);

}  // namespace somnar
