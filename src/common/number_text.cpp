#include "common/number_text.h"

namespace somnar {
namespace {

std::string padded(int number, std::size_t width, char fill) {
    std::string digits = std::to_string(number);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), fill);
    }
    return digits;
}

}  // namespace

std::string twoDigits(int number) {
    return padded(number, 2, '0');
}
std::string fourDigits(int number) {
    return padded(number, 4, '0');
}
std::string rightAligned4(int number) {
    return padded(number, 4, ' ');
}

}  // namespace somnar
