#pragma once

#include <thread>

namespace somnar {

// Work the window's first paint needs, done beside the main thread while the window is set
// up: the system's font configuration is loaded while the window system connects; once the
// application exists, a follow-on thread connects the session bus (the screen readers'
// bridge asks for it with the first widget's text) and fills the window system's list of
// fonts, so the first text of the window waits for none of them.
class StartupWarmUp {
  public:
    StartupWarmUp();
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;

    // Once the application object exists: the rest, on a thread that first waits for the
    // font configuration's and ends before the returned object goes (keep it shorter-lived
    // than the application). Whoever needs the bus or measures text meanwhile waits on Qt's
    // own locks.
    [[nodiscard]] std::jthread continueWithApplication();

  private:
    std::thread worker_;
};

}  // namespace somnar
