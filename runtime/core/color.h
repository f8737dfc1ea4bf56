#pragma once
// Colours are 24-bit RGB: red in bits 0 to 7, green 8 to 15, blue 16 to 23.

#include <cstdint>

// Components are not masked; callers pass 0 to 255.
constexpr uint32_t PackRGB(int32_t red, int32_t green, int32_t blue) {
    return (static_cast<uint32_t>(blue) << 16) | (static_cast<uint32_t>(green) << 8) |
           static_cast<uint32_t>(red);
}
