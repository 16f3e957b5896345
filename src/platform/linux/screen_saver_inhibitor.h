#pragma once

#include "platform/linux/sd_bus_handles.h"

#include <chrono>
#include <cstdint>

namespace somnar {

// Keeps the desktop's screen saver from blanking the display, through
// org.freedesktop.ScreenSaver on the session bus. The connection stays open while the
// object lives: some screen savers drop an inhibition as soon as its connection closes.
class ScreenSaverInhibitor {
  public:
    ScreenSaverInhibitor() = default;
    ScreenSaverInhibitor(const ScreenSaverInhibitor&) = delete;
    ScreenSaverInhibitor& operator=(const ScreenSaverInhibitor&) = delete;
    // Lifts the inhibition again.
    ~ScreenSaverInhibitor();

    // Asks the screen saver once; later calls do nothing while it holds. False when there
    // is no session bus or no screen saver answers within `timeout`.
    bool inhibit(const char* application, const char* reason, std::chrono::milliseconds timeout);

    bool active() const { return bus_ != nullptr; }

  private:
    dbus::BusPtr bus_;
    const char* path_ = nullptr;
    std::uint32_t cookie_ = 0;
};

}  // namespace somnar
