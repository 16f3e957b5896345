#include "platform/linux/networkmanager_connectivity.h"

#include "platform/linux/sd_bus_handles.h"
#include "platform/linux/system_bus.h"

#include <string_view>

namespace somnar {

namespace {

constexpr const char* kNmService = "org.freedesktop.NetworkManager";
constexpr const char* kNmPath = "/org/freedesktop/NetworkManager";
constexpr const char* kNm = "org.freedesktop.NetworkManager";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";

std::optional<std::uint32_t> readUnsignedVariant(sd_bus_message* reply) {
    const char* contents = nullptr;
    if (sd_bus_message_peek_type(reply, nullptr, &contents) <= 0 || contents == nullptr ||
        std::string_view(contents) != "u") {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    if (sd_bus_message_read(reply, "v", "u", &value) < 0) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<NmConnectivity> readNetworkManagerConnectivity(
    sd_bus* bus, std::chrono::steady_clock::time_point deadline) {
    const dbus::MessagePtr call = dbus::newMethodCall(bus, kNmService, kNmPath, kProperties, "Get");
    if (!call || sd_bus_message_append(call.get(), "ss", kNm, "Connectivity") < 0) {
        return std::nullopt;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const dbus::MessagePtr reply = dbus::callMethod(bus, call.get(), left);
    if (!reply) {
        return std::nullopt;
    }
    const auto value = readUnsignedVariant(reply.get());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<NmConnectivity>(*value);
}

}  // namespace somnar
