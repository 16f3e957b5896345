#include "platform/linux/session_bus.h"

#include <cstdint>

namespace somnar::dbus {

namespace {

using Clock = std::chrono::steady_clock;

std::uint64_t toMicroseconds(Clock::duration duration) {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(duration).count());
}

// sd-bus would wait up to its own 90 s for the handshake; a hung session bus must not hold
// up the program that long.
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
        if (now >= deadline || sd_bus_wait(bus, toMicroseconds(deadline - now)) < 0) {
            return false;
        }
    }
}

}  // namespace

BusPtr openSessionBus(std::chrono::milliseconds timeout) {
    if (timeout.count() <= 0) {
        return nullptr;
    }
    const auto deadline = Clock::now() + timeout;
    sd_bus* raw = nullptr;
    if (sd_bus_open_user(&raw) < 0) {
        return nullptr;
    }
    BusPtr bus(raw);
    if (sd_bus_set_method_call_timeout(bus.get(), toMicroseconds(timeout)) < 0 ||
        !waitUntilReady(bus.get(), deadline)) {
        return nullptr;
    }
    return bus;
}

}  // namespace somnar::dbus
