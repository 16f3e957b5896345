#include "platform/linux/fd_wait.h"

#include <poll.h>

#include <algorithm>
#include <climits>

namespace somnar {

bool PollWait::wait(int fd, short events, std::optional<std::chrono::microseconds> timeout) {
    int milliseconds = -1;
    if (timeout) {
        const auto rounded = std::chrono::ceil<std::chrono::milliseconds>(*timeout).count();
        milliseconds = static_cast<int>(std::clamp<long long>(rounded, 0, INT_MAX));
    }
    pollfd watched{fd, events, 0};
    // A signal interrupting the wait is no reason to stop waiting: the caller looks again.
    ::poll(&watched, 1, milliseconds);
    return true;
}

}  // namespace somnar
