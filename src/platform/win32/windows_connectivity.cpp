#include "platform/win32/windows_connectivity.h"

#include "platform/win32/windows_api.h"

#include <wininet.h>

namespace somnar::win32 {

bool WindowsConnectivity::isConnected() {
    DWORD how = 0;
    return ::InternetGetConnectedState(&how, 0) != FALSE;
}

}  // namespace somnar::win32
