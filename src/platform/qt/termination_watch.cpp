#include "platform/qt/termination_watch.h"

#include <QSessionManager>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <utility>

#include "app/main_window_model.h"

namespace somnar {
namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

// The pipe's write end, for the handler: a signal handler may only write to a descriptor.
volatile sig_atomic_t writeEnd = -1;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

void onSignal(int /*signal*/) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = saved;
}

}  // namespace

TerminationWatch::TerminationWatch(std::function<void()> onTerminate)
    : onTerminate_(std::move(onTerminate)) {
    if (::pipe2(ends_, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;  // the signals keep their default: the program ends at once
    }
    notifier_.emplace(ends_[0], QSocketNotifier::Read);
    QObject::connect(&*notifier_, &QSocketNotifier::activated, [this] {
        char bytes[16];
        while (::read(ends_[0], bytes, sizeof bytes) > 0) {
        }
        if (onTerminate_) {
            onTerminate_();
        }
    });
    writeEnd = ends_[1];
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction& before = previous_.at(i);
        // A signal ignored when the program started (nohup) stays ignored.
        if (::sigaction(kSignals.at(i), nullptr, &before) == 0 && before.sa_handler != SIG_IGN) {
            ::sigaction(kSignals.at(i), &action, nullptr);
        }
    }
}

TerminationWatch::~TerminationWatch() {
    if (ends_[0] < 0) {
        return;
    }
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals.at(i), &previous_.at(i), nullptr);
    }
    writeEnd = -1;
    notifier_.reset();
    ::close(ends_[0]);
    ::close(ends_[1]);
}

SessionEndWatch::SessionEndWatch(QGuiApplication& application, MainWindow& form)
    : termination_([&form] { form.endSession(); }) {
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &saveRequests_,
                     [&form](QSessionManager&) { form.storeTypedValues(false); });
}

}  // namespace somnar
