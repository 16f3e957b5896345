#pragma once

#include <string>

namespace somnar {

// The number forms of the pickers.
std::string twoDigits(int number);      // "00": 1 gives "01"
std::string fourDigits(int number);     // "0000": 2026 gives "2026"
std::string rightAligned4(int number);  // "@@@@": 20 gives "  20"

}  // namespace somnar
