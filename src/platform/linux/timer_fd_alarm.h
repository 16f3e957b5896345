#pragma once

#include <chrono>

#include "platform/linux/unique_fd.h"
#include "platform/wake_alarm.h"

namespace somnar {

// The wake-up from standby: a timer fd on CLOCK_REALTIME_ALARM, armed at an absolute
// time. When the machine suspends, the kernel programs the real-time clock from the
// nearest such timer; closing the fd takes the wake-up back.
class TimerFdAlarm : public ArmedAlarm {
  public:
    // Creates and arms the timer (needs CAP_WAKE_ALARM). The result holds a TimerFdAlarm,
    // or the error and what it concerns.
    static AlarmResult arm(std::chrono::sys_seconds due);

    explicit TimerFdAlarm(UniqueFd fd) : fd_(std::move(fd)) {}

    // Becomes readable when the alarm is due.
    int fd() const { return fd_.get(); }

  private:
    UniqueFd fd_;
};

}  // namespace somnar
