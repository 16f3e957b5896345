#include "platform/linux/responsive_wait.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <poll.h>

#include <algorithm>
#include <climits>

#include "platform/model_hold.h"

namespace somnar {

bool ResponsiveWait::wait(int fd, short events, std::optional<std::chrono::microseconds> timeout) {
    QEventLoop loop;
    bool over = false;
    const auto done = [&] {
        over = true;
        loop.quit();
    };
    std::optional<QSocketNotifier> readable;
    std::optional<QSocketNotifier> writable;
    if ((events & POLLIN) != 0) {
        readable.emplace(fd, QSocketNotifier::Read);
        QObject::connect(&*readable, &QSocketNotifier::activated, &loop, done);
    }
    if ((events & POLLOUT) != 0) {
        writable.emplace(fd, QSocketNotifier::Write);
        QObject::connect(&*writable, &QSocketNotifier::activated, &loop, done);
    }
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, done);
    if (timeout) {
        const auto rounded = std::chrono::ceil<std::chrono::milliseconds>(*timeout).count();
        timer.start(static_cast<int>(std::clamp<long long>(rounded, 0, INT_MAX)));
    }
    const ModelHold hold;
    // Returns at once, without `over`, when the application has been told to quit.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return over;
}

}  // namespace somnar
