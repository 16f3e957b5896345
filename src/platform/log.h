#pragma once

#include <string>

namespace somnar {

enum class LogLevel { Info, Warning, Error };

// The program's record of what happened, for whoever looks later (the system journal on
// Linux). Never blocks for long and never fails the caller.
class Log {
  public:
    virtual ~Log() = default;

    virtual void write(LogLevel level, const std::string& text) = 0;
};

}  // namespace somnar
