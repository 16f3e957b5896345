#pragma once

#include <functional>

namespace somnar::win32 {

// Runs a call that blocks for long (the sleep itself, which returns only after waking)
// so that the window keeps painting meanwhile while nothing else of the program runs:
// no timer tick and no user input reaches the window model until the call is over.
class ResponsiveCall {
  public:
    virtual ~ResponsiveCall() = default;

    virtual void run(const std::function<void()>& call) = 0;
};

// Without a window there is nothing to keep painting: the call runs on this thread.
class DirectCall : public ResponsiveCall {
  public:
    void run(const std::function<void()>& call) override { call(); }
};

}  // namespace somnar::win32
