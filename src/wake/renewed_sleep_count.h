#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace somnar {

// The time counted towards the renewed sleep after waking. A tick held up by a blocking
// upload or a busy machine still counts the time that really passed, so the renewed
// sleep is not put off by it; time asleep or paused does not count.
class RenewedSleepCount {
  public:
    double elapsedSeconds() const { return elapsed_; }
    // Adds the time since the last counted tick of the same run of the timer; the first
    // tick of a run, or the first after a pause, adds one interval.
    void count(std::chrono::milliseconds now, unsigned run, std::chrono::milliseconds interval);
    // The count is kept, the time until the next tick is not counted.
    void pause() { lastCount_.reset(); }
    // The next renewed sleep counts from zero.
    void reset() { elapsed_ = 0; }

  private:
    double elapsed_ = 0;
    std::optional<std::chrono::milliseconds> lastCount_;
    unsigned countedRun_ = 0;
};

// Minutes and seconds left, "mm:ss"; an hour or more shows all its minutes ("90:00").
std::string timeLeftText(long secondsLeft);

// The whole number of minutes from 1 to 1440 the text gives; empty otherwise.
std::optional<int> renewedSleepMinutes(const std::string& text);

}  // namespace somnar
