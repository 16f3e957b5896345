#pragma once

// Start-up step timings for a benchmark build (cmake -DSOMNAR_STARTUP_STEPS=ON; bench/steps
// runs it). A step is a block (SOMNAR_STARTUP_STEP) or the time since the previous mark
// (SOMNAR_STARTUP_MARK). Each writes "step NAME START LENGTH" to standard error, in milliseconds on
// the monotonic clock from the process's start when its starter gives that moment in
// SOMNAR_STARTED_AT_NS (steady clock, nanoseconds), else from the first step. Steps stop
// writing once the main window has painted. In every other build a step is nothing.

#ifdef SOMNAR_STARTUP_STEPS

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace somnar::startup {

using Clock = std::chrono::steady_clock;

inline bool painted = false;

inline void write(const char* name, Clock::time_point start, Clock::time_point end);

inline Clock::time_point origin() {
    static const Clock::time_point start = [] {
        const char* given = std::getenv("SOMNAR_STARTED_AT_NS");
        return given != nullptr
                   ? Clock::time_point(std::chrono::nanoseconds(std::strtoll(given, nullptr, 10)))
                   : Clock::now();
    }();
    return start;
}

inline double milliseconds(Clock::duration span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

class Step {
  public:
    explicit Step(const char* name) : name_(name), start_((origin(), Clock::now())) {}
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;
    ~Step() { write(name_, start_, Clock::now()); }

  private:
    const char* name_;
    Clock::time_point start_;
};

inline void write(const char* name, Clock::time_point start, Clock::time_point end) {
    if (!painted) {
        std::fprintf(stderr, "step %s %.3f %.3f\n", name, milliseconds(start - origin()),
                     milliseconds(end - start));
    }
}

inline Clock::time_point lastMark = origin();

inline void mark(const char* name) {
    const Clock::time_point now = Clock::now();
    write(name, lastMark, now);
    lastMark = now;
}

// The last mark: the main window's first paint is over. With SOMNAR_STARTUP_STEPS_EXIT set
// the program ends here, so that a profiler sees the start-up alone.
inline void paintedFirst() {
    mark("first paint");
    painted = true;
    if (std::getenv("SOMNAR_STARTUP_STEPS_EXIT") != nullptr) {
        std::fflush(stderr);
        std::_Exit(0);
    }
}

}  // namespace somnar::startup

#define SOMNAR_STEP_JOIN2(a, b) a##b
#define SOMNAR_STEP_JOIN(a, b) SOMNAR_STEP_JOIN2(a, b)
// Times the rest of the enclosing block as the step NAME.
#define SOMNAR_STARTUP_STEP(name) \
    const ::somnar::startup::Step SOMNAR_STEP_JOIN(startupStep, __LINE__)(name)
// Ends the step that began at the previous mark (or the process's start) as NAME.
#define SOMNAR_STARTUP_MARK(name) ::somnar::startup::mark(name)
#define SOMNAR_STARTUP_PAINTED() ::somnar::startup::paintedFirst()

#else

#define SOMNAR_STARTUP_STEP(name) static_cast<void>(0)
#define SOMNAR_STARTUP_MARK(name) static_cast<void>(0)
#define SOMNAR_STARTUP_PAINTED() static_cast<void>(0)

#endif
