#include "platform/linux/networkmanager_dialups.h"

#include "platform/linux/sd_bus_handles.h"
#include "platform/linux/system_bus.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace somnar {

namespace {

constexpr const char* kNmService = "org.freedesktop.NetworkManager";
constexpr const char* kNmSettingsPath = "/org/freedesktop/NetworkManager/Settings";
constexpr const char* kNmSettings = "org.freedesktop.NetworkManager.Settings";
constexpr const char* kNmConnection = "org.freedesktop.NetworkManager.Settings.Connection";

constexpr std::array<std::string_view, 4> kDialupTypes = {"gsm", "cdma", "pppoe", "bluetooth"};

struct ConnectionIdentity {
    std::string id;
    std::string type;
};

std::chrono::milliseconds timeLeft(std::chrono::steady_clock::time_point deadline) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                 std::chrono::steady_clock::now());
}

std::optional<std::vector<std::string>> readObjectPaths(sd_bus_message* reply) {
    if (sd_bus_message_enter_container(reply, SD_BUS_TYPE_ARRAY, "o") <= 0) {
        return std::nullopt;
    }
    std::vector<std::string> paths;
    const char* path = nullptr;
    int r = 0;
    while ((r = sd_bus_message_read_basic(reply, SD_BUS_TYPE_OBJECT_PATH, &path)) > 0) {
        paths.emplace_back(path);
    }
    if (r < 0) {
        return std::nullopt;
    }
    return paths;
}

// Reads one "{sv}" entry of the "connection" section, keeping id and type when they are text.
bool readConnectionEntry(sd_bus_message* reply, ConnectionIdentity& identity) {
    const char* key = nullptr;
    if (sd_bus_message_read_basic(reply, SD_BUS_TYPE_STRING, &key) <= 0) {
        return false;
    }
    const std::string_view name(key);
    std::string* target = name == "id" ? &identity.id : name == "type" ? &identity.type : nullptr;
    const char* contents = nullptr;
    if (target != nullptr && sd_bus_message_peek_type(reply, nullptr, &contents) > 0 &&
        contents != nullptr && std::string_view(contents) == "s") {
        const char* text = nullptr;
        if (sd_bus_message_read(reply, "v", "s", &text) < 0) {
            return false;
        }
        *target = text;
        return true;
    }
    return sd_bus_message_skip(reply, "v") >= 0;
}

bool readConnectionSection(sd_bus_message* reply, ConnectionIdentity& identity) {
    if (sd_bus_message_enter_container(reply, SD_BUS_TYPE_ARRAY, "{sv}") <= 0) {
        return false;
    }
    int r = 0;
    while ((r = sd_bus_message_enter_container(reply, SD_BUS_TYPE_DICT_ENTRY, "sv")) > 0) {
        if (!readConnectionEntry(reply, identity) || sd_bus_message_exit_container(reply) < 0) {
            return false;
        }
    }
    return r == 0 && sd_bus_message_exit_container(reply) >= 0;
}

// GetSettings answers a{sa{sv}}: sections of named values; only "connection" matters here.
std::optional<ConnectionIdentity> readIdentity(sd_bus_message* reply) {
    if (sd_bus_message_enter_container(reply, SD_BUS_TYPE_ARRAY, "{sa{sv}}") <= 0) {
        return std::nullopt;
    }
    ConnectionIdentity identity;
    int r = 0;
    while ((r = sd_bus_message_enter_container(reply, SD_BUS_TYPE_DICT_ENTRY, "sa{sv}")) > 0) {
        const char* section = nullptr;
        if (sd_bus_message_read_basic(reply, SD_BUS_TYPE_STRING, &section) <= 0) {
            return std::nullopt;
        }
        const bool read = std::string_view(section) == "connection"
                              ? readConnectionSection(reply, identity)
                              : sd_bus_message_skip(reply, "a{sv}") >= 0;
        if (!read || sd_bus_message_exit_container(reply) < 0) {
            return std::nullopt;
        }
    }
    if (r < 0) {
        return std::nullopt;
    }
    return identity;
}

std::optional<ConnectionIdentity> askIdentity(sd_bus* bus, const std::string& path,
                                              std::chrono::steady_clock::time_point deadline) {
    const dbus::MessagePtr call =
        dbus::newMethodCall(bus, kNmService, path.c_str(), kNmConnection, "GetSettings");
    if (!call) {
        return std::nullopt;
    }
    const dbus::MessagePtr reply = dbus::callMethod(bus, call.get(), timeLeft(deadline));
    if (!reply) {
        return std::nullopt;
    }
    return readIdentity(reply.get());
}

bool isDialup(const ConnectionIdentity& identity) {
    return !identity.id.empty() &&
           std::find(kDialupTypes.begin(), kDialupTypes.end(), identity.type) != kDialupTypes.end();
}

}  // namespace

std::vector<std::string> listNetworkManagerDialups(sd_bus* bus,
                                                   std::chrono::steady_clock::time_point deadline) {
    const dbus::MessagePtr call =
        dbus::newMethodCall(bus, kNmService, kNmSettingsPath, kNmSettings, "ListConnections");
    if (!call) {
        return {};
    }
    const dbus::MessagePtr reply = dbus::callMethod(bus, call.get(), timeLeft(deadline));
    if (!reply) {
        return {};
    }
    const auto paths = readObjectPaths(reply.get());
    if (!paths) {
        return {};
    }
    std::vector<std::string> names;
    for (const std::string& path : *paths) {
        const auto identity = askIdentity(bus, path, deadline);
        if (identity && isDialup(*identity)) {
            names.push_back(identity->id);
        }
    }
    return names;
}

}  // namespace somnar
