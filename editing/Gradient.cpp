#include "Gradient.h"

#include "PackedColour.h"

#include <algorithm>
#include <array>
#include <cmath>

int roundHalfToEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return static_cast<int>(lower) + 1;
    if (fraction < 0.5)
        return static_cast<int>(lower);
    return std::fmod(lower, 2.0) == 0 ? static_cast<int>(lower) : static_cast<int>(lower) + 1;
}

void fillGradient(Palette &palette, int anchorIndex, int targetIndex) {
    const int low = std::min(anchorIndex, targetIndex);
    const int high = std::max(anchorIndex, targetIndex);
    if (high - low < 2)
        return;

    const double count = high - low;
    std::array<double, 4> step{};
    std::array<double, 4> run{};
    for (int c = redChannel; c <= blueChannel; ++c) {
        const double from = palette[low][c];
        const double to = palette[high][c];
        step[c] = (to - from) / count;
        run[c] = from;
    }
    // Repeated addition, not from + k * step: where the exact value is a half, the accumulated
    // one can lie a unit in the last place to either side, and it is rounded as it lies.
    for (int entry = low + 1; entry < high; ++entry) {
        auto &row = palette[entry];
        for (int c = redChannel; c <= blueChannel; ++c)
            run[c] += step[c];
        for (int c = redChannel; c <= blueChannel; ++c)
            row[c] = roundHalfToEven(run[c]);
        row[packedChannel] = packedColour(row[redChannel], row[greenChannel], row[blueChannel]);
    }
}
