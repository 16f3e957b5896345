#pragma once

#include <thread>

namespace somnar {

// Loads the system's font configuration on a second thread while the window system
// connects, so the first text of the window does not wait for it.
class FontWarmUp {
  public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Returns once the fonts are loaded.
    void wait();

  private:
    std::thread worker_;
};

}  // namespace somnar
