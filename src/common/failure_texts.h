#pragma once

#include "platform/failure_texts.h"

namespace somnar {

// The sentences every platform shares. A failure that needs a remedy of one system gets
// a general sentence here; that system's texts add the remedy.
class PortableFailureTexts : public FailureTexts {
  public:
    std::string dialFailure(const DialResult& result) const override;
    std::string startFailure(const StartResult& result) const override;
    std::string alarmFailure(SleepState state, const AlarmFailure& failure) const override;
};

}  // namespace somnar
