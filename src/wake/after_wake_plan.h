#pragma once

#include <optional>
#include <string>

#include "platform/sleep_state.h"

namespace somnar {

// The dial-up connection to dial after waking, with its login.
struct DialupLogin {
    std::string name;
    std::string user;
    std::string password;
};

// The sleep that follows the wake-up after some minutes.
struct RenewedSleepPlan {
    std::optional<SleepState> state;  // empty: neither state can be chosen
    std::string minutesText;          // as the picker shows it, without blanks around
};

// What runs after the machine has woken, as the options show it when the request is
// confirmed.
struct AfterWakePlan {
    std::optional<DialupLogin> dialup;
    bool alwaysOnline = false;  // a connection that needs no dialling (DSL)
    bool publishAddress = false;
    std::string ftpServer;
    std::string program;  // command line; empty: no program
    std::optional<RenewedSleepPlan> renewedSleep;

    // The address is published once a connection is there, dialled or always on.
    bool watchesConnection() const { return publishAddress && (dialup || alwaysOnline); }
};

}  // namespace somnar
