#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/system_facts.h"

namespace somnar {

// What the machine offers for waking itself, read from the kernel's and the system's files
// below a root folder (the real "/", or a stand-in tree in tests).
class LinuxSystemFacts final : public SystemFacts {
  public:
    explicit LinuxSystemFacts(std::filesystem::path root = "/");

    // sys/class/rtc/rtc0/wakealarm; writable as the kernel decides for this process's
    // effective user and groups (a read-only file system says no also to root).
    bool wakeAlarmExists() override;
    bool wakeAlarmWritable() override;
    // The third line of etc/adjtime is "LOCAL"; a missing file means UTC, as for hwclock.
    bool clockKeepsLocalTime() override;
    // sys/power/resume as it reads; "0:0" (the kernel's none) and a missing file give "".
    std::string resumeDevice() override;
    // The Size column of proc/swaps summed up.
    std::uint64_t swapBytes() override;
    // MemTotal less MemAvailable in proc/meminfo; 0 when either is missing.
    std::uint64_t memoryInUseBytes() override;
    // An executable file of this name in a folder of $PATH, or in the root's usr/sbin,
    // sbin or usr/bin (which a desktop user's PATH often lacks). A name holding "/" is
    // never found.
    bool programAvailable(const std::string& name) override;
    // A regular file (or a link to one) of this name in etc/ppp/peers; a name holding "/"
    // is no peer.
    bool pppPeerExists(const std::string& name) override;

  private:
    std::filesystem::path root_;
};

}  // namespace somnar
