#pragma once

#include "platform/linux/fd_wait.h"

namespace somnar {

// Waits with a local event loop that leaves out user input (it is kept for later) and
// holds the window model (see ModelHold), so the windows keep painting while the thread
// waits for a platform service. Ends early, with false, when the program is told to end.
class ResponsiveWait final : public FdWait {
  public:
    bool wait(int fd, short events, std::optional<std::chrono::microseconds> timeout) override;
};

}  // namespace somnar
