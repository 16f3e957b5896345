#pragma once

#include <string>

namespace somnar {

// The UTF-8 text as ISO 8859-1 bytes: one byte per character, "?" for each character
// beyond it (and for each byte sequence that is not UTF-8). Composed first, so that a
// letter written as base and accent ("u" + U+0308) still becomes its one byte (0xFC).
std::string toLatin1(const std::string& utf8Text);

}  // namespace somnar
