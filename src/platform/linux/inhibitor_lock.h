#pragma once

#include "platform/linux/sd_bus_handles.h"

#include <chrono>

namespace somnar {

// A logind inhibitor lock: logind holds back what it inhibits until the descriptor it
// handed out is closed, so the lock is exactly this object's lifetime (or release()).
class InhibitorLock {
  public:
    InhibitorLock() = default;
    explicit InhibitorLock(int fd) : fd_(fd) {}
    InhibitorLock(InhibitorLock&& other) noexcept;
    InhibitorLock& operator=(InhibitorLock&& other) noexcept;
    InhibitorLock(const InhibitorLock&) = delete;
    InhibitorLock& operator=(const InhibitorLock&) = delete;
    ~InhibitorLock();

    bool held() const { return fd_ >= 0; }
    void release();

  private:
    int fd_ = -1;
};

// Asks logind for a lock on `what` ("sleep", "idle", ...) in `mode` ("delay" or "block"),
// with `why` shown to the user. Not held when logind refuses, is missing or does not answer
// within `timeout`.
InhibitorLock takeInhibitorLock(sd_bus* bus, const char* what, const char* why, const char* mode,
                                std::chrono::milliseconds timeout);

}  // namespace somnar
