#include "publish/publication.h"

namespace somnar {

std::optional<AddressLookup> Publication::tick() {
    if (!publisher_.isConnected()) {
        return std::nullopt;
    }
    AddressLookup found = publisher_.localIpAddress();
    address_ = found.address;
    return found;
}

}  // namespace somnar
