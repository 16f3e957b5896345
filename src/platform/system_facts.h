#pragma once

#include <cstdint>
#include <string>

namespace somnar {

// What the machine offers for waking itself and for dialling, as the system files tell it;
// read afresh at every call. Used by the pre-flight check.
class SystemFacts {
  public:
    virtual ~SystemFacts() = default;

    // The real-time clock's wake alarm: whether the machine has one, and whether this user
    // may write it.
    virtual bool wakeAlarmExists() = 0;
    virtual bool wakeAlarmWritable() = 0;
    // Whether the real-time clock keeps local time ("LOCAL" in /etc/adjtime) rather than UTC.
    virtual bool clockKeepsLocalTime() = 0;
    // The device hibernation resumes from, as the kernel knows it ("254:16"); empty when
    // none is configured.
    virtual std::string resumeDevice() = 0;
    // All swap space, and the memory in use (total less available), in bytes.
    virtual std::uint64_t swapBytes() = 0;
    virtual std::uint64_t memoryInUseBytes() = 0;
    // Whether a program of this name can be started (on PATH, or in the system's sbin).
    virtual bool programAvailable(const std::string& name) = 0;
    // Whether a pppd peer of this name exists.
    virtual bool pppPeerExists(const std::string& name) = 0;
};

}  // namespace somnar
