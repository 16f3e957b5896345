#pragma once

#include <QGuiApplication>
#include <QObject>
#include <QSocketNotifier>

#include <signal.h>

#include <array>
#include <functional>
#include <optional>

namespace somnar {

class MainWindow;

// Turns SIGTERM, SIGINT and SIGHUP (the end of the desktop session, kill, a closed
// terminal) into a call on the window's thread, so the program can store what the user typed
// and end cleanly instead of being cut off. One per program; the signals' earlier handling
// comes back when it goes.
class TerminationWatch {
  public:
    explicit TerminationWatch(std::function<void()> onTerminate);
    ~TerminationWatch();
    TerminationWatch(const TerminationWatch&) = delete;
    TerminationWatch& operator=(const TerminationWatch&) = delete;

  private:
    std::function<void()> onTerminate_;
    int ends_[2] = {-1, -1};
    std::optional<QSocketNotifier> notifier_;
    std::array<struct sigaction, 3> previous_{};  // SIGTERM, SIGINT, SIGHUP as they were
};

// The end of the desktop session for the window: the session manager's request to save
// stores what the user typed; SIGTERM, SIGINT or SIGHUP stores it and closes both windows,
// which ends the program.
class SessionEndWatch {
  public:
    SessionEndWatch(QGuiApplication& application, MainWindow& form);

  private:
    TerminationWatch termination_;
    QObject saveRequests_;  // ends the connection to the request to save with the watch
};

}  // namespace somnar
