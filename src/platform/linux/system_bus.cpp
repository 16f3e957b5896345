#include "platform/linux/system_bus.h"

#include "platform/linux/session_bus.h"

#include <cstdint>

namespace somnar::dbus {

namespace {

using Clock = std::chrono::steady_clock;

std::uint64_t toMicroseconds(Clock::duration duration) {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(duration).count());
}

// sd-bus finishes the handshake on its own only within its fixed 90 s limit; drive it here
// so that a daemon that accepts the socket but never answers costs at most our timeout.
bool waitUntilReady(sd_bus* bus, Clock::time_point deadline) {
    for (;;) {
        int r = sd_bus_is_ready(bus);
        if (r != 0) {
            return r > 0;
        }
        r = sd_bus_process(bus, nullptr);
        if (r < 0) {
            return false;
        }
        if (r > 0) {
            continue;
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            return false;
        }
        if (sd_bus_wait(bus, toMicroseconds(deadline - now)) < 0) {
            return false;
        }
    }
}

// Opens a bus with the given sd-bus opener and waits at most `timeout` for the daemon.
BusPtr openBus(int (*opener)(sd_bus**), std::chrono::milliseconds timeout) {
    if (timeout.count() <= 0) {
        return nullptr;
    }
    const auto deadline = Clock::now() + timeout;
    sd_bus* raw = nullptr;
    if (opener(&raw) < 0) {
        return nullptr;
    }
    BusPtr bus(raw);
    if (sd_bus_set_method_call_timeout(bus.get(), toMicroseconds(timeout)) < 0) {
        return nullptr;
    }
    if (!waitUntilReady(bus.get(), deadline)) {
        return nullptr;
    }
    return bus;
}

}  // namespace

BusPtr openSystemBus(std::chrono::milliseconds timeout) {
    return openBus(sd_bus_open_system, timeout);
}

BusPtr openSessionBus(std::chrono::milliseconds timeout) {
    return openBus(sd_bus_open_user, timeout);
}

MessagePtr newMethodCall(sd_bus* bus, const char* destination, const char* path,
                         const char* interface, const char* member) {
    sd_bus_message* raw = nullptr;
    if (sd_bus_message_new_method_call(bus, &raw, destination, path, interface, member) < 0) {
        return nullptr;
    }
    return MessagePtr(raw);
}

MessagePtr callMethod(sd_bus* bus, sd_bus_message* call, std::chrono::milliseconds timeout) {
    // A zero timeout would mean "the connection's default" to sd-bus, not "none left".
    if (timeout.count() <= 0) {
        return nullptr;
    }
    BusError error;
    sd_bus_message* raw = nullptr;
    if (sd_bus_call(bus, call, toMicroseconds(timeout), error.get(), &raw) < 0) {
        return nullptr;
    }
    return MessagePtr(raw);
}

std::optional<std::string> readString(sd_bus_message* message) {
    const char* text = nullptr;
    if (sd_bus_message_read_basic(message, SD_BUS_TYPE_STRING, &text) <= 0 || text == nullptr) {
        return std::nullopt;
    }
    return std::string(text);
}

}  // namespace somnar::dbus
