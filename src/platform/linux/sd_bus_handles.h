#pragma once

#include <systemd/sd-bus.h>

#include <memory>

namespace somnar::dbus {

// Owning handles for sd-bus objects, so every early return releases them.

struct BusCloser {
    // Closes without flushing: a flush would wait for a peer that may never read.
    void operator()(sd_bus* bus) const { sd_bus_close_unref(bus); }
};
using BusPtr = std::unique_ptr<sd_bus, BusCloser>;

struct MessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using MessagePtr = std::unique_ptr<sd_bus_message, MessageUnref>;

// An sd_bus_error that frees its texts when it goes out of scope.
class BusError {
  public:
    BusError() = default;
    ~BusError() { sd_bus_error_free(&error_); }
    BusError(const BusError&) = delete;
    BusError& operator=(const BusError&) = delete;

    sd_bus_error* get() { return &error_; }
    bool isSet() const { return sd_bus_error_is_set(&error_) > 0; }
    const char* name() const { return error_.name != nullptr ? error_.name : ""; }

  private:
    sd_bus_error error_ = SD_BUS_ERROR_NULL;
};

}  // namespace somnar::dbus
