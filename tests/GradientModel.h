#pragma once

#include "PaletteExpectations.h"

#include <algorithm>
#include <cmath>

// The gradient as users are promised it, written here without the editor's code: a straight
// line from the lower entry up, the running value accumulated step by step and rounded to
// nearest with halves to even (the default floating-point rounding). Neighbours and equal
// entries change nothing.
inline void modelGradient(Palette &palette, int a, int b) {
    const int low = std::min(a, b);
    const int high = std::max(a, b);
    if (high - low < 2)
        return;
    double step[4];
    double run[4];
    for (int c = 1; c <= 3; ++c) {
        step[c] = (static_cast<double>(palette[high][c]) - palette[low][c]) / (high - low);
        run[c] = palette[low][c];
    }
    for (int n = low + 1; n < high; ++n) {
        int value[4];
        for (int c = 1; c <= 3; ++c) {
            run[c] += step[c];
            value[c] = static_cast<int>(std::nearbyint(run[c]));
        }
        setColour(palette, n, value[1], value[2], value[3]);
    }
}
