#include "platform/linux/logind_power_manager.h"

#include "platform/linux/logind_names.h"
#include "platform/linux/logind_sleep.h"

#include <utility>

namespace somnar {

namespace {

// Shown by logind and the desktop to whoever asks why sleep or blanking is held back.
constexpr const char* kSleepLockReason = "Ruhezustand oder Standby wird eingeleitet";
constexpr const char* kAwakeReason = "Aufgaben nach dem Aufwachen laufen";

}  // namespace

LogindPowerManager::LogindPowerManager(std::chrono::milliseconds timeout, SleepLimits limits,
                                       FdWait* waiter)
    : timeout_(timeout), limits_(std::move(limits)), waiter_(waiter ? *waiter : poll_) {}

namespace {

bool allowed(const std::optional<std::string>& answer) {
    return answer && (*answer == "yes" || *answer == "challenge");
}

}  // namespace

bool LogindPowerManager::canHibernate() {
    return allowed(askCapability("CanHibernate"));
}

bool LogindPowerManager::canSuspend() {
    return allowed(askCapability("CanSuspend"));
}

std::optional<std::string> LogindPowerManager::sleepAnswer(SleepState state) {
    return askCapability(state == SleepState::Hibernate ? "CanHibernate" : "CanSuspend");
}

SleepResult LogindPowerManager::sleep(SleepState state, const std::function<void()>& goingDown) {
    sd_bus* bus = connection();
    if (bus == nullptr) {
        return {SleepOutcome::NoService, {}};
    }
    // Without the lock the machine still sleeps; we may only miss the announcement.
    InhibitorLock delayLock = takeInhibitorLock(bus, "sleep", kSleepLockReason, "delay", timeout_);
    const char* method = state == SleepState::Hibernate ? "Hibernate" : "Suspend";
    return sleepThroughLogind(bus, method, std::move(delayLock), goingDown, waiter_, limits_);
}

void LogindPowerManager::keepAwake() {
    if (!idleLock_.held()) {
        if (sd_bus* bus = connection()) {
            idleLock_ = takeInhibitorLock(bus, "idle", kAwakeReason, "block", timeout_);
        }
    }
    screenSaver_.inhibit(logind::kApplication, kAwakeReason, timeout_);
}

std::optional<std::string> LogindPowerManager::askCapability(const char* method) {
    sd_bus* bus = connection();
    if (bus == nullptr) {
        return std::nullopt;
    }
    const dbus::MessagePtr call =
        dbus::newMethodCall(bus, logind::kService, logind::kPath, logind::kManager, method);
    if (!call) {
        return std::nullopt;
    }
    const dbus::MessagePtr reply = dbus::callMethod(bus, call.get(), timeout_);
    if (!reply) {
        return std::nullopt;
    }
    return dbus::readString(reply.get());
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
