#pragma once

#include "common/failure_texts.h"

namespace somnar {

// The shared sentences with the remedies of a Linux system: pon and nmcli for dialling,
// a shell for command lines, the capability for the kernel's wake timer and the udev rule
// for the real-time clock's alarm file.
class LinuxFailureTexts : public PortableFailureTexts {
  public:
    std::string dialFailure(const DialResult& result) const override;
    std::string startFailure(const StartResult& result) const override;
    // The standby alarm is the kernel's timer, the hibernation alarm the real-time clock's.
    std::string alarmFailure(SleepState state, const AlarmFailure& failure) const override;
};

}  // namespace somnar
