#pragma once

#include <string>

namespace somnar {

// A desktop notification that stays until the user has seen it, for what went wrong
// while nobody was at the machine. Does nothing where the desktop offers none; never
// blocks for long and never fails the caller.
class Notifier {
  public:
    virtual ~Notifier() = default;

    virtual void notify(const std::string& summary, const std::string& body) = 0;
};

}  // namespace somnar
