#pragma once

// The steps after waking that start at once. Nobody may be at the machine then: a step that
// fails gives back its problem for the status line instead of holding up the rest with a box.

#include <optional>
#include <string>

#include "platform/dialer.h"
#include "platform/failure_texts.h"
#include "platform/program_starter.h"
#include "wake/after_wake_plan.h"

namespace somnar {

class DialStep {
  public:
    DialStep(Dialer& dialer, const FailureTexts& texts) : dialer_(dialer), texts_(texts) {}

    std::optional<std::string> start(const DialupLogin& login);

  private:
    Dialer& dialer_;
    const FailureTexts& texts_;
};

class ProgramStep {
  public:
    ProgramStep(ProgramStarter& programs, const FailureTexts& texts)
        : programs_(programs), texts_(texts) {}

    std::optional<std::string> start(const std::string& commandLine);

  private:
    ProgramStarter& programs_;
    const FailureTexts& texts_;
};

}  // namespace somnar
