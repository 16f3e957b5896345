#include "platform/linux/inhibitor_lock.h"

#include "platform/linux/logind_names.h"
#include "platform/linux/system_bus.h"

#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace somnar {

InhibitorLock::InhibitorLock(InhibitorLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

InhibitorLock& InhibitorLock::operator=(InhibitorLock&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

InhibitorLock::~InhibitorLock() {
    release();
}

void InhibitorLock::release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

InhibitorLock takeInhibitorLock(sd_bus* bus, const char* what, const char* why, const char* mode,
                                std::chrono::milliseconds timeout) {
    const dbus::MessagePtr call =
        dbus::newMethodCall(bus, logind::kService, logind::kPath, logind::kManager, "Inhibit");
    if (!call ||
        sd_bus_message_append(call.get(), "ssss", what, logind::kApplication, why, mode) < 0) {
        return {};
    }
    const dbus::MessagePtr reply = dbus::callMethod(bus, call.get(), timeout);
    int fd = -1;
    if (!reply || sd_bus_message_read_basic(reply.get(), SD_BUS_TYPE_UNIX_FD, &fd) <= 0) {
        return {};
    }
    // The reply owns its descriptor and closes it with the message: keep a copy of our own.
    return InhibitorLock(fcntl(fd, F_DUPFD_CLOEXEC, 3));
}

}  // namespace somnar
