#pragma once

#include "platform/dialer.h"

#include <string>

namespace somnar {

// Dials a pppd peer through `pon`, handing the user and the password to pppd as its options
// "user" and "password"; an empty one is left out, so the peer file's own setting applies.
// Started detached and returns at once; pon is looked up in PATH.
DialResult startPon(const std::string& peer, const std::string& user, const std::string& password);

// Brings up a NetworkManager connection by its id through `nmcli`; NetworkManager uses the
// secrets it keeps for the connection. Started detached and returns at once; nmcli is looked
// up in PATH.
DialResult startNmcli(const std::string& connectionId);

}  // namespace somnar
