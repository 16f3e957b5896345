#include "platform/linux/logind_sleep.h"

#include "platform/linux/logind_names.h"
#include "platform/linux/system_bus.h"

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace somnar {

namespace {

using Clock = std::chrono::steady_clock;

struct SlotUnref {
    void operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
};
using SlotPtr = std::unique_ptr<sd_bus_slot, SlotUnref>;

// What logind's answer and its signals told so far.
struct SleepProgress {
    std::optional<Clock::time_point> acceptedAt;  // logind took the request on
    std::optional<SleepResult> refusal;           // logind (or the bus) turned it down
    bool announced = false;  // PrepareForSleep(true): the machine is going down
    std::chrono::sys_time<std::chrono::milliseconds> announcedAt{};
    // Once the announcement has been acted on: when (on the awake clock), and the
    // suspended time then.
    std::optional<Clock::time_point> goneDownAt;
    std::chrono::nanoseconds suspendedBefore{};
    std::optional<Clock::time_point> suspendSeenAt;  // suspended time has grown since
    bool resumed = false;     // PrepareForSleep(false) after it: the machine is up again
    bool logindGone = false;  // logind left the bus; no more signals will come
};

struct RefusalKind {
    const char* errorName;
    SleepOutcome outcome;
};

// What logind's error answers mean; any other is a refusal for another reason (busy, ...).
constexpr RefusalKind kRefusalKinds[] = {
    {SD_BUS_ERROR_ACCESS_DENIED, SleepOutcome::NotAuthorized},
    {SD_BUS_ERROR_INTERACTIVE_AUTHORIZATION_REQUIRED, SleepOutcome::NotAuthorized},
    {"org.freedesktop.PolicyKit1.Error.NotAuthorized", SleepOutcome::NotAuthorized},
    {"org.freedesktop.PolicyKit1.Error.Cancelled", SleepOutcome::NotAuthorized},
    {logind::kSleepVerbNotSupported, SleepOutcome::NotSupported},
    {SD_BUS_ERROR_NOT_SUPPORTED, SleepOutcome::NotSupported},
    {SD_BUS_ERROR_SERVICE_UNKNOWN, SleepOutcome::NoService},
    {SD_BUS_ERROR_NAME_HAS_NO_OWNER, SleepOutcome::NoService},
    // What the bus answers for logind when it left without answering.
    {SD_BUS_ERROR_NO_REPLY, SleepOutcome::NoService},
};

SleepResult refusalOf(const sd_bus_error& error, bool connectionLost) {
    const bool hasMessage = error.message != nullptr && error.message[0] != '\0';
    SleepResult refusal{connectionLost ? SleepOutcome::NoService : SleepOutcome::Refused,
                        hasMessage ? error.message : (error.name != nullptr ? error.name : "")};
    for (const RefusalKind& kind : kRefusalKinds) {
        if (!connectionLost && sd_bus_error_has_name(&error, kind.errorName) > 0) {
            refusal.outcome = kind.outcome;
        }
    }
    return refusal;
}

int onSleepAnswer(sd_bus_message* reply, void* userdata, sd_bus_error* /*error*/) {
    auto& progress = *static_cast<SleepProgress*>(userdata);
    if (const sd_bus_error* error = sd_bus_message_get_error(reply)) {
        // sd-bus answers a call itself when the connection breaks before the reply came.
        const bool connectionLost = sd_bus_is_open(sd_bus_message_get_bus(reply)) <= 0;
        progress.refusal = refusalOf(*error, connectionLost);
        if (progress.logindGone) {
            progress.refusal->outcome = SleepOutcome::NoService;
        }
    } else {
        progress.acceptedAt = Clock::now();
    }
    return 0;
}

int onPrepareForSleep(sd_bus_message* message, void* userdata, sd_bus_error* /*error*/) {
    auto& progress = *static_cast<SleepProgress*>(userdata);
    int start = 0;
    if (sd_bus_message_read_basic(message, SD_BUS_TYPE_BOOLEAN, &start) <= 0) {
        return 0;
    }
    if (start != 0) {
        progress.announced = true;
        progress.announcedAt = std::chrono::time_point_cast<std::chrono::milliseconds>(
            std::chrono::system_clock::now());
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

// Sends the request; its answer reaches `progress`. logind answers only once polkit has
// decided, and the user may take as long as they need to authenticate: no time limit of
// ours on the answer (logind and polkit keep their own).
SlotPtr requestSleep(sd_bus* bus, const char* method, SleepProgress& progress) {
    const dbus::MessagePtr call =
        dbus::newMethodCall(bus, logind::kService, logind::kPath, logind::kManager, method);
    // interactive = true: polkit may ask the user to authenticate.
    if (!call || sd_bus_message_append(call.get(), "b", 1) < 0 ||
        sd_bus_message_set_allow_interactive_authorization(call.get(), 1) < 0) {
        return nullptr;
    }
    sd_bus_slot* raw = nullptr;
    // UINT64_MAX: no timeout at all (0 would mean the connection's default).
    if (sd_bus_call_async(bus, &raw, call.get(), onSleepAnswer, &progress, UINT64_MAX) < 0) {
        return nullptr;
    }
    return SlotPtr(raw);
}

// Drops what arrived since the last sleep, so that a late signal of an earlier request
// cannot pass for the announcement of this one.
void discardPending(sd_bus* bus) {
    while (sd_bus_process(bus, nullptr) > 0) {
    }
}

// More suspended time than this since the announcement means the machine has slept.
constexpr std::chrono::seconds kSuspendSeen{1};
// How often the suspended time is looked at while the resume is awaited.
constexpr std::chrono::seconds kSuspendLook{1};

std::uint64_t microsecondsUntil(Clock::time_point deadline) {
    const auto left = std::max(deadline - Clock::now(), Clock::duration::zero());
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(left).count());
}

// Waits until the bus has something to process, `deadline` (if any) has come, or the bus's
// own next timeout. False when the program is ending.
bool waitOnBus(sd_bus* bus, FdWait& waiter, std::optional<Clock::time_point> deadline) {
    std::uint64_t wait = deadline ? microsecondsUntil(*deadline) : UINT64_MAX;
    std::uint64_t busDue = UINT64_MAX;  // absolute, on CLOCK_MONOTONIC like Clock
    if (sd_bus_get_timeout(bus, &busDue) >= 0 && busDue != UINT64_MAX) {
        const auto due = Clock::time_point(std::chrono::microseconds(busDue));
        wait = std::min(wait, microsecondsUntil(due));
    }
    const int events = sd_bus_get_events(bus);
    return waiter.wait(
        sd_bus_get_fd(bus), static_cast<short>(events < 0 ? 0 : events),
        wait == UINT64_MAX ? std::nullopt : std::optional(std::chrono::microseconds(wait)));
}

}  // namespace

std::chrono::nanoseconds suspendedSinceBoot() {
    timespec boot{};
    timespec awake{};
    if (::clock_gettime(CLOCK_BOOTTIME, &boot) != 0 ||
        ::clock_gettime(CLOCK_MONOTONIC, &awake) != 0) {
        return {};
    }
    return std::chrono::seconds(boot.tv_sec - awake.tv_sec) +
           std::chrono::nanoseconds(boot.tv_nsec - awake.tv_nsec);
}

SleepResult sleepThroughLogind(sd_bus* bus, const char* method, InhibitorLock delayLock,
                               const std::function<void()>& goingDown, FdWait& waiter,
                               const SleepLimits& limits) {
    discardPending(bus);
    SleepProgress progress;
    // Subscribed before the request: logind may announce the sleep before it replies.
    const SlotPtr prepareForSleep = watchPrepareForSleep(bus, progress);
    const SlotPtr logindOwner = watchLogindOwner(bus, progress);
    const SlotPtr answer =
        prepareForSleep && logindOwner ? requestSleep(bus, method, progress) : nullptr;
    if (!answer) {
        return {SleepOutcome::NoService, {}};
    }
    const auto suspended = limits.suspendedTime ? limits.suspendedTime : suspendedSinceBoot;
    // Once announced, we are running again whenever we run at all: every way out of the
    // wait then counts as woken.
    const auto stopped = [&](WakeNotice notice = WakeNotice::Announced) -> SleepResult {
        if (progress.announced) {
            return {SleepOutcome::WokeUp, {}, progress.announcedAt, notice};
        }
        return {progress.acceptedAt ? SleepOutcome::NotAnnounced : SleepOutcome::NoService, {}};
    };
    for (;;) {
        if (progress.announced && !progress.goneDownAt) {
            if (goingDown) {
                goingDown();
            }
            delayLock.release();
            progress.goneDownAt = Clock::now();
            progress.suspendedBefore = suspended();
        }
        // logind's answer decides first: a failed sleep may be announced and called off
        // before the error reply comes.
        if (progress.refusal) {
            return *progress.refusal;
        }
        if (progress.logindGone && !progress.acceptedAt) {
            return {SleepOutcome::NoService, {}};
        }
        if (progress.acceptedAt && (progress.resumed || progress.logindGone)) {
            return stopped();
        }
        const int processed = sd_bus_process(bus, nullptr);
        if (processed < 0) {
            return stopped();
        }
        if (processed > 0) {
            continue;
        }
        // Waiting for the answer: no limit then.
        std::optional<Clock::time_point> deadline;
        const auto now = Clock::now();
        if (progress.acceptedAt && !progress.announced) {
            deadline = *progress.acceptedAt + limits.start;
            if (now >= *deadline) {
                return {SleepOutcome::NotAnnounced, {}};
            }
        } else if (progress.goneDownAt) {
            // Asleep, maybe for hours (the awake clock stands still meanwhile), or awake with
            // the resume not announced: the suspended time tells.
            if (!progress.suspendSeenAt && suspended() - progress.suspendedBefore > kSuspendSeen) {
                progress.suspendSeenAt = now;
            }
            const auto end = progress.suspendSeenAt ? *progress.suspendSeenAt + limits.resumeGrace
                                                    : *progress.goneDownAt + limits.resume;
            if (now >= end) {
                return stopped(progress.suspendSeenAt ? WakeNotice::SuspendSeen
                                                      : WakeNotice::NoneInTime);
            }
            deadline = std::min<Clock::time_point>(end, now + kSuspendLook);
        }
        if (!waitOnBus(bus, waiter, deadline)) {
            return {SleepOutcome::Abandoned, {}};
        }
    }
}

}  // namespace somnar
