#pragma once

#include <string>
#include <vector>

#include "platform/result.h"

namespace somnar {

enum class DialError {
    None,
    NothingSelected,           // no name given
    UnknownName,               // detail: the name, which the machine does not know
    NameNotDialable,           // detail: the pppd peer whose name pon cannot carry
    UnusableCredentials,       // a line break or NUL in the user name or password
    CredentialsNotHandedOver,  // the user name and password could not be passed on
    PppMissing,                // pon could not be started
    NetworkManagerMissing,     // nmcli could not be started
    Failed,                    // any other failure
};

using DialResult = Outcome<DialError>;

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
