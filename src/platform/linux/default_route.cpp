#include "platform/linux/default_route.h"

#include "platform/linux/interface_list.h"

#include <net/if.h>
#include <net/route.h>

#include <charconv>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>

namespace somnar {

namespace {

std::optional<std::uint32_t> parseHex(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

struct RouteLine {
    std::string interface;
    std::uint32_t destination = 0;
    std::uint32_t flags = 0;
    std::uint32_t mask = 0;
};

// Columns: Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT.
std::optional<RouteLine> parseRouteLine(const std::string& line) {
    std::istringstream fields(line);
    std::string interface, destination, gateway, flags, refCount, use, metric, mask;
    if (!(fields >> interface >> destination >> gateway >> flags >> refCount >> use >> metric >>
          mask)) {
        return std::nullopt;
    }
    const auto destinationValue = parseHex(destination);
    const auto flagsValue = parseHex(flags);
    const auto maskValue = parseHex(mask);
    if (!destinationValue || !flagsValue || !maskValue) {
        return std::nullopt;  // the header line, or a line we do not understand
    }
    return RouteLine{interface, *destinationValue, *flagsValue, *maskValue};
}

bool isUsableDefault(const RouteLine& route) {
    return route.destination == 0 && route.mask == 0 && (route.flags & RTF_UP) != 0 &&
           (route.flags & RTF_REJECT) == 0 && route.interface != "lo";
}

}  // namespace

bool hasDefaultRoute(const std::filesystem::path& routeTable, const InterfaceCheck& usable) {
    try {
        std::ifstream table(routeTable);
        std::string line;
        while (std::getline(table, line)) {
            const auto route = parseRouteLine(line);
            if (route && isUsableDefault(*route) && usable(route->interface)) {
                return true;
            }
        }
        return false;
    } catch (const std::exception&) {
        return false;  // out of memory, or the check threw
    }
}

bool interfaceIsRunning(const std::string& name) {
    const InterfaceList list = readInterfaceList();
    // Every interface has at least one entry (its link-level one), whether it has an
    // address or not; all entries of an interface carry the same flags.
    for (const ifaddrs* entry = list.get(); entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_name != nullptr && name == entry->ifa_name) {
            const unsigned flags = entry->ifa_flags;
            return (flags & IFF_LOOPBACK) == 0 && (flags & IFF_UP) != 0 &&
                   (flags & IFF_RUNNING) != 0;
        }
    }
    return false;
}

}  // namespace somnar
