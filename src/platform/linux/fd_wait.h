#pragma once

#include <chrono>
#include <optional>

namespace somnar {

// Waits until a file descriptor is ready or a time has passed. The window program waits
// with its event loop running, so the window keeps painting; without a window, poll().
class FdWait {
  public:
    virtual ~FdWait() = default;

    // `events`: POLLIN and/or POLLOUT; no `timeout`: no limit. Returns once the descriptor
    // may be ready or the time is up (the caller looks again); false when the program is
    // ending and nothing more should be waited for.
    virtual bool wait(int fd, short events, std::optional<std::chrono::microseconds> timeout) = 0;
};

class PollWait final : public FdWait {
  public:
    bool wait(int fd, short events, std::optional<std::chrono::microseconds> timeout) override;
};

}  // namespace somnar
