#include "platform/linux/screen_saver_inhibitor.h"

#include "platform/linux/session_bus.h"
#include "platform/linux/system_bus.h"

namespace somnar {

namespace {

constexpr const char* kService = "org.freedesktop.ScreenSaver";
constexpr const char* kInterface = "org.freedesktop.ScreenSaver";
// The object path of the freedesktop.org name first, then the older one some desktops use.
constexpr const char* kPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds timeLeft(Clock::time_point deadline) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
}

}  // namespace

ScreenSaverInhibitor::~ScreenSaverInhibitor() {
    if (!bus_) {
        return;
    }
    const dbus::MessagePtr call =
        dbus::newMethodCall(bus_.get(), kService, path_, kInterface, "UnInhibit");
    // Sent without waiting for an answer: the program is ending.
    if (call && sd_bus_message_append(call.get(), "u", cookie_) >= 0 &&
        sd_bus_message_set_expect_reply(call.get(), 0) >= 0 &&
        sd_bus_send(bus_.get(), call.get(), nullptr) >= 0) {
        sd_bus_flush(bus_.get());
    }
}

bool ScreenSaverInhibitor::inhibit(const char* application, const char* reason,
                                   std::chrono::milliseconds timeout) {
    if (bus_) {
        return true;
    }
    const auto deadline = Clock::now() + timeout;
    dbus::BusPtr bus = dbus::openSessionBus(timeout);
    if (!bus) {
        return false;
    }
    for (const char* path : kPaths) {
        const dbus::MessagePtr call =
            dbus::newMethodCall(bus.get(), kService, path, kInterface, "Inhibit");
        if (!call || sd_bus_message_append(call.get(), "ss", application, reason) < 0) {
            return false;
        }
        const dbus::MessagePtr reply = dbus::callMethod(bus.get(), call.get(), timeLeft(deadline));
        std::uint32_t cookie = 0;
        if (reply && sd_bus_message_read_basic(reply.get(), SD_BUS_TYPE_UINT32, &cookie) > 0) {
            bus_ = std::move(bus);
            path_ = path;
            cookie_ = cookie;
            return true;
        }
    }
    return false;
}

}  // namespace somnar
