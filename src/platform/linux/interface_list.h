#pragma once

#include <ifaddrs.h>

#include <memory>

namespace somnar {

struct InterfaceListFree {
    void operator()(ifaddrs* list) const { ::freeifaddrs(list); }
};
// The system's list of interface addresses, freed when it goes.
using InterfaceList = std::unique_ptr<ifaddrs, InterfaceListFree>;

// The interfaces and their addresses as getifaddrs gives them; null on failure.
inline InterfaceList readInterfaceList() {
    ifaddrs* raw = nullptr;
    if (::getifaddrs(&raw) != 0) {
        return nullptr;
    }
    return InterfaceList(raw);
}

}  // namespace somnar
