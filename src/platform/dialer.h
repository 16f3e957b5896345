#pragma once

#include <string>
#include <vector>

namespace somnar {

// The machine's named dial-up connections.
class Dialer {
  public:
    virtual ~Dialer() = default;

    // Names in the order the system gives them; empty when there are none or the
    // system cannot be asked.
    virtual std::vector<std::string> listEntries() = 0;
};

}  // namespace somnar
