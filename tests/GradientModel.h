#pragma once

#include "PaletteExpectations.h"

#include <algorithm>
#include <cmath>

// The gradient as users are promised it, written without the editor's code: from the lower entry
// up, each channel's running value grows by a fixed step and is rounded to nearest, halves to
// even (the default floating-point rounding). Neighbours and equal entries change nothing.
inline void modelGradient(Palette &palette, int a, int b) {
    const int low = std::min(a, b);
    const int high = std::max(a, b);
    for (int n = low + 1; n < high; ++n) {
        int value[4];
        for (int c = 1; c <= 3; ++c) {
            const double step = double(palette[high][c] - palette[low][c]) / (high - low);
            double run = palette[low][c];
            for (int k = low + 1; k <= n; ++k)
                run += step;
            value[c] = static_cast<int>(std::nearbyint(run));
        }
        setColour(palette, n, value[1], value[2], value[3]);
    }
}
