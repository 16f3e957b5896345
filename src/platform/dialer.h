#pragma once

#include <string>
#include <vector>

namespace somnar {

struct DialResult {
    bool started = false;
    std::string reason;  // why not, in German, for the status line and the log
};

// The machine's named dial-up connections.
class Dialer {
  public:
    virtual ~Dialer() = default;

    // Names in the order the system gives them; empty when there are none or the
    // system cannot be asked.
    virtual std::vector<std::string> listEntries() = 0;

    // Starts dialling the named connection and returns at once; whether the connection
    // comes up is not waited for.
    virtual DialResult dial(const std::string& name, const std::string& user,
                            const std::string& password) = 0;
};

}  // namespace somnar
