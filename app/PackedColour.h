#pragma once

#include <cstdint>

// The colour every cell fill and outline takes: red in the low byte, then green, then blue.
constexpr std::int32_t packedColour(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

constexpr std::int32_t white = packedColour(255, 255, 255);
