#pragma once

#include "platform/dialer.h"

#include <string>

namespace somnar {

// Dials a pppd peer through `pon`. A user or password is not put on the command line or into
// the environment, where other users could read it: both go as pppd's options "user" and
// "password" into a pipe that the dialler inherits as descriptor 3, and pon is told
// `file /dev/fd/3`. Everything is written before the start, so the dialler reads to the end
// without waiting for us. An empty value is left out, so the peer file's own setting applies;
// with both empty, pon gets the peer name alone. Refused, with the kind of reason, are a peer name
// pon cannot carry (see ponCanDial()) and a value with a line break or a NUL character.
// Started detached and returns once pon runs; pon is looked up in PATH.
DialResult startPon(const std::string& peer, const std::string& user, const std::string& password);

// Brings up a NetworkManager connection by its id through `nmcli`; NetworkManager uses the
// secrets it keeps for the connection. Started detached and returns once nmcli runs; nmcli is
// looked up in PATH.
DialResult startNmcli(const std::string& connectionId);

}  // namespace somnar
