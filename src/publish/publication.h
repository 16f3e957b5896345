#pragma once

#include <optional>
#include <string>

#include "publish/publisher.h"

namespace somnar {

// One publication of the address after waking: the watch for the connection, the address
// found and the document written for the upload.
class Publication {
  public:
    explicit Publication(Publisher& publisher) : publisher_(publisher) {}

    // Nothing while the machine is offline; once online, the address as found.
    std::optional<AddressLookup> tick();
    // Writes ip.html for the address found; the problem for the user when it could not be
    // written. Then nothing may be uploaded: an ip.html of an earlier run must never go
    // out as if it were new.
    std::optional<std::string> writeDocument() { return publisher_.writeDocument(address_); }

  private:
    Publisher& publisher_;
    std::string address_;
};

}  // namespace somnar
