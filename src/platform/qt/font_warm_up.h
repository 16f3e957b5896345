#pragma once

#include <thread>

namespace somnar {

// Loads the system's font configuration on a second thread while the window system
// connects, then fills the window system's list of fonts there while the window is built,
// so the first text of the window waits for neither.
class FontWarmUp {
  public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Once the application object exists: lists the fonts for it on the second thread,
    // which ends before the returned object goes (keep it shorter-lived than the
    // application). Text measured meanwhile waits on the font database's own lock.
    [[nodiscard]] std::jthread listForWindowSystem();

  private:
    std::thread worker_;
};

}  // namespace somnar
