#pragma once

#include <string>

namespace somnar {

// ip.html: the address and the moment the machine started, in four CR LF lines.
std::string ipDocument(const std::string& address, const std::string& startedAt);

}  // namespace somnar
