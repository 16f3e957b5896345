#pragma once

#include "platform/linux/fd_wait.h"
#include "platform/linux/inhibitor_lock.h"
#include "platform/linux/logind_sleep.h"
#include "platform/linux/screen_saver_inhibitor.h"
#include "platform/linux/sd_bus_handles.h"
#include "platform/linux/system_bus.h"
#include "platform/power_manager.h"

#include <chrono>

namespace somnar {

// Talks to systemd-logind on the system bus: what the machine may do, the sleep itself and
// keeping it awake. One connection is kept for all requests, so the sleep calls,
// PrepareForSleep and inhibitor locks share it.
class LogindPowerManager final : public PowerManager {
  public:
    // `timeout`: for each query and lock request; `limits`: for the stages of a sleep (the
    // time the user needs to authenticate comes before them and is not limited). `waiter`
    // waits for logind during a sleep; none: poll().
    explicit LogindPowerManager(std::chrono::milliseconds timeout = dbus::kDefaultTimeout,
                                SleepLimits limits = {}, FdWait* waiter = nullptr);
    LogindPowerManager(const LogindPowerManager&) = delete;
    LogindPowerManager& operator=(const LogindPowerManager&) = delete;

    // True when logind answers "yes" or "challenge" (allowed after authentication);
    // false for any other answer and when logind or the bus cannot be reached.
    bool canHibernate() override;
    bool canSuspend() override;
    std::optional<std::string> sleepAnswer(SleepState state) override;

    // Hibernate(true) or Suspend(true), under a delay lock that makes logind wait until we
    // have seen it announce the sleep; then waits until it reports the resume.
    SleepResult sleep(SleepState state, const std::function<void()>& goingDown) override;

    // An idle lock in block mode, and the screen saver held off, both until the object goes.
    void keepAwake() override;

  private:
    std::optional<std::string> askCapability(const char* method);
    // The open connection, reopened when the last one broke; null when there is no bus.
    sd_bus* connection();

    std::chrono::milliseconds timeout_;
    SleepLimits limits_;
    PollWait poll_;
    FdWait& waiter_;
    dbus::BusPtr bus_;
    InhibitorLock idleLock_;
    ScreenSaverInhibitor screenSaver_;
};

}  // namespace somnar
