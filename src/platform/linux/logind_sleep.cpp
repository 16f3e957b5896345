#include "platform/linux/logind_sleep.h"

#include "platform/linux/logind_names.h"
#include "platform/linux/system_bus.h"

#include <cerrno>
#include <cstdint>
#include <memory>

namespace somnar {

namespace {

using Clock = std::chrono::steady_clock;

struct SlotUnref {
    void operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
};
using SlotPtr = std::unique_ptr<sd_bus_slot, SlotUnref>;

// What the signals told so far.
struct SleepProgress {
    bool announced = false;   // PrepareForSleep(true): the machine is going down
    bool resumed = false;     // PrepareForSleep(false) after it: the machine is up again
    bool logindGone = false;  // logind left the bus; no more signals will come
};

int onPrepareForSleep(sd_bus_message* message, void* userdata, sd_bus_error* /*error*/) {
    auto& progress = *static_cast<SleepProgress*>(userdata);
    int start = 0;
    if (sd_bus_message_read_basic(message, SD_BUS_TYPE_BOOLEAN, &start) <= 0) {
        return 0;
    }
    if (start != 0) {
        progress.announced = true;
    } else if (progress.announced) {
        // A resume without our announcement belongs to an earlier sleep.
        progress.resumed = true;
    }
    return 0;
}

int onLogindOwnerChanged(sd_bus_message* message, void* userdata, sd_bus_error* /*error*/) {
    const char* name = nullptr;
    const char* oldOwner = nullptr;
    const char* newOwner = nullptr;
    if (sd_bus_message_read(message, "sss", &name, &oldOwner, &newOwner) >= 0 &&
        newOwner != nullptr && newOwner[0] == '\0') {
        static_cast<SleepProgress*>(userdata)->logindGone = true;
    }
    return 0;
}

SlotPtr watchPrepareForSleep(sd_bus* bus, SleepProgress& progress) {
    sd_bus_slot* raw = nullptr;
    if (sd_bus_match_signal(bus, &raw, logind::kService, logind::kPath, logind::kManager,
                            "PrepareForSleep", onPrepareForSleep, &progress) < 0) {
        return nullptr;
    }
    return SlotPtr(raw);
}

SlotPtr watchLogindOwner(sd_bus* bus, SleepProgress& progress) {
    sd_bus_slot* raw = nullptr;
    if (sd_bus_add_match(bus, &raw,
                         "type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/"
                         "DBus',interface='org.freedesktop.DBus',member='NameOwnerChanged',"
                         "arg0='org.freedesktop.login1'",
                         onLogindOwnerChanged, &progress) < 0) {
        return nullptr;
    }
    return SlotPtr(raw);
}

bool requestSleep(sd_bus* bus, const char* method, Clock::time_point deadline) {
    const dbus::MessagePtr call =
        dbus::newMethodCall(bus, logind::kService, logind::kPath, logind::kManager, method);
    // interactive = true: polkit may ask the user to authenticate.
    if (!call || sd_bus_message_append(call.get(), "b", 1) < 0 ||
        sd_bus_message_set_allow_interactive_authorization(call.get(), 1) < 0) {
        return false;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return dbus::callMethod(bus, call.get(), left) != nullptr;
}

// Drops what arrived since the last sleep, so that a late signal of an earlier request
// cannot pass for the announcement of this one.
void discardPending(sd_bus* bus) {
    while (sd_bus_process(bus, nullptr) > 0) {
    }
}

}  // namespace

SleepResult sleepThroughLogind(sd_bus* bus, const char* method, InhibitorLock delayLock,
                                std::chrono::milliseconds startLimit) {
    const auto deadline = Clock::now() + startLimit;
    discardPending(bus);
    SleepProgress progress;
    // Subscribed before the request: logind may announce the sleep before it replies.
    const SlotPtr prepareForSleep = watchPrepareForSleep(bus, progress);
    const SlotPtr logindOwner = watchLogindOwner(bus, progress);
    if (!prepareForSleep || !logindOwner || !requestSleep(bus, method, deadline)) {
        return {SleepOutcome::Refused, {}};
    }
    // Once announced, we are running again whenever we run at all: every way out of the
    // wait then counts as woken.
    const auto stopped = [&] {
        return progress.announced ? SleepResult{SleepOutcome::WokeUp, {}}
                                  : SleepResult{SleepOutcome::NotAnnounced, {}};
    };
    for (;;) {
        if (progress.announced) {
            delayLock.release();
        }
        if (progress.resumed || progress.logindGone) {
            return stopped();
        }
        const int processed = sd_bus_process(bus, nullptr);
        if (processed < 0) {
            return stopped();
        }
        if (processed > 0) {
            continue;
        }
        // Asleep, the machine may stay down for hours: no limit then.
        std::uint64_t wait = UINT64_MAX;
        if (!progress.announced) {
            const auto now = Clock::now();
            if (now >= deadline) {
                return {SleepOutcome::NotAnnounced, {}};
            }
            wait = static_cast<std::uint64_t>(
                std::chrono::duration_cast<std::chrono::microseconds>(deadline - now).count());
        }
        const int woken = sd_bus_wait(bus, wait);
        // A signal handler interrupting the wait is no reason to stop waiting.
        if (woken < 0 && woken != -EINTR) {
            return stopped();
        }
    }
}

}  // namespace somnar
