#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace somnar {

// An icon's pixels, row by row, ARGB (written at build time from resources/icons).
struct IconPixels {
    std::string_view name;
    int width;
    int height;
    const std::uint32_t* argb;
};

std::span<const IconPixels> allIconPixels();

}  // namespace somnar
