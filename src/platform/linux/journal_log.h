#pragma once

#include <string>

#include "platform/log.h"

namespace somnar {

// The system journal, under the program's identifier; standard error where there is no
// journal to take the entry.
class JournalLog final : public Log {
  public:
    explicit JournalLog(std::string identifier = "somnar-scheduler");

    void write(LogLevel level, const std::string& text) override;

  private:
    std::string identifier_;
};

}  // namespace somnar
