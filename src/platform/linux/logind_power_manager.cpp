#include "platform/linux/logind_power_manager.h"

namespace somnar {

namespace {

constexpr const char* kLogindService = "org.freedesktop.login1";
constexpr const char* kLogindPath = "/org/freedesktop/login1";
constexpr const char* kLogindManager = "org.freedesktop.login1.Manager";

}  // namespace

LogindPowerManager::LogindPowerManager(std::chrono::milliseconds timeout) : timeout_(timeout) {}

bool LogindPowerManager::canHibernate() {
    return askCapability("CanHibernate");
}

bool LogindPowerManager::canSuspend() {
    return askCapability("CanSuspend");
}

bool LogindPowerManager::askCapability(const char* method) {
    sd_bus* bus = connection();
    if (bus == nullptr) {
        return false;
    }
    const dbus::MessagePtr call =
        dbus::newMethodCall(bus, kLogindService, kLogindPath, kLogindManager, method);
    if (!call) {
        return false;
    }
    const dbus::MessagePtr reply = dbus::callMethod(bus, call.get(), timeout_);
    if (!reply) {
        return false;
    }
    const auto answer = dbus::readString(reply.get());
    return answer && (*answer == "yes" || *answer == "challenge");
}

sd_bus* LogindPowerManager::connection() {
    if (bus_ && sd_bus_is_open(bus_.get()) <= 0) {
        bus_.reset();
    }
    if (!bus_) {
        bus_ = dbus::openSystemBus(timeout_);
    }
    return bus_.get();
}

}  // namespace somnar
