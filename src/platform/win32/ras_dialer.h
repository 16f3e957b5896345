#pragma once

#include "platform/dialer.h"

#include <chrono>
#include <string>
#include <vector>

namespace somnar::win32 {

// The dial-up connections of the system's default phone book, dialled through the remote
// access service. The user name and password go to RasDialW in its parameter block, never
// on a command line where other programs could read them; the block is wiped afterwards.
//
// dial() refuses an empty name (NothingSelected), a line break or NUL in the user name or
// password (UnusableCredentials), a name the phone book does not hold (UnknownName, detail:
// the name) and values longer than the service takes (CredentialsNotHandedOver). It starts
// the dial and waits at most `failureWait` for the service to fail early (no modem, port in
// use), short because the window does not paint meanwhile; whether the connection comes up
// is not waited for. A dial that fails, then or later, is hung up. A failure is Failed,
// detail: the name, systemError: the service's words and number ("Die Leitung ist besetzt.
// (676)").
class RasDialer final : public Dialer {
  public:
    explicit RasDialer(std::chrono::milliseconds failureWait = std::chrono::seconds(1));

    std::vector<std::string> listEntries() override;
    DialResult dial(const std::string& name, const std::string& user,
                    const std::string& password) override;

  private:
    std::chrono::milliseconds failureWait_;
};

// The remote access service's words for its error number, with the number in brackets.
std::string rasErrorText(unsigned long error);

}  // namespace somnar::win32
