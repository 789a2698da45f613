#pragma once

#include "EditorState.h"

// Rounds to the nearest integer, an exact half to the even one (0.5 -> 0, 1.5 -> 2).
int roundHalfToEven(double value);

// Fills every entry strictly between the two entry numbers (1..256, in either order) with a
// straight-line gradient, accumulated from the lower entry upwards. The two ends keep their
// colours; neighbours or equal numbers change nothing.
void fillGradient(Palette &palette, int anchorIndex, int targetIndex);
