#pragma once

#include "platform/connectivity.h"

namespace somnar::win32 {

// Whether the machine is online, as WinINet's InternetGetConnectedState tells it: by a
// network card, a modem or a proxy. Asked once per tick of the connection watch; it answers
// from the system's own state without sending anything.
class WindowsConnectivity final : public Connectivity {
  public:
    bool isConnected() override;
};

}  // namespace somnar::win32
