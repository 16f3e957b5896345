#include "platform/linux/desktop_notifier.h"

#include "platform/linux/session_bus.h"
#include "platform/linux/system_bus.h"

#include <cstdint>
#include <utility>

namespace somnar {

namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";
constexpr const char* kIcon = "somnar-scheduler";
constexpr std::uint8_t kCritical = 2;  // the "urgency" hint: low 0, normal 1, critical 2
constexpr std::int32_t kNeverExpires = 0;

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds left(Clock::time_point deadline) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
}

// The service's capabilities include "body-markup"; none when it does not answer.
std::optional<bool> readsMarkup(sd_bus* bus, Clock::time_point deadline) {
    const dbus::MessagePtr call =
        dbus::newMethodCall(bus, kService, kPath, kInterface, "GetCapabilities");
    const dbus::MessagePtr reply =
        call ? dbus::callMethod(bus, call.get(), left(deadline)) : nullptr;
    if (!reply || sd_bus_message_enter_container(reply.get(), 'a', "s") < 0) {
        return std::nullopt;
    }
    bool markup = false;
    while (const std::optional<std::string> capability = dbus::readString(reply.get())) {
        markup = markup || *capability == "body-markup";
    }
    return markup;
}

std::string escapedMarkup(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

}  // namespace

DesktopNotifier::DesktopNotifier(std::string applicationName, std::chrono::milliseconds timeout)
    : applicationName_(std::move(applicationName)), timeout_(timeout) {}

void DesktopNotifier::notify(const std::string& summary, const std::string& body) {
    const auto deadline = Clock::now() + timeout_;
    const dbus::BusPtr bus = dbus::openSessionBus(timeout_);
    if (!bus) {
        return;
    }
    if (!bodyMarkup_) {
        bodyMarkup_ = readsMarkup(bus.get(), deadline);
    }
    const std::string shownBody = bodyMarkup_.value_or(false) ? escapedMarkup(body) : body;
    const dbus::MessagePtr call =
        dbus::newMethodCall(bus.get(), kService, kPath, kInterface, "Notify");
    // Notify(app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout)
    if (!call || sd_bus_message_append(call.get(), "susssasa{sv}i", applicationName_.c_str(),
                                       std::uint32_t{0}, kIcon, summary.c_str(), shownBody.c_str(),
                                       0, 1, "urgency", "y", kCritical, kNeverExpires) < 0) {
        return;
    }
    // The answer (the notification's id) is of no further use; waiting for it makes sure the
    // call has left before the connection is closed without flushing.
    dbus::callMethod(bus.get(), call.get(), left(deadline));
}

}  // namespace somnar
