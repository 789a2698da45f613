// The 768 channel values, one per line, of a stage of the end-to-end edit cycle: "start" as
// written to disk, "raised" with entry 18's red raised by three clicks, "final" with Spread too.
#include "GradientModel.h"

#include <cstdio>

int main(int argc, char **argv) {
    const QByteArray stage = argc == 2 ? argv[1] : "";
    if (stage != "start" && stage != "raised" && stage != "final") {
        std::fprintf(stderr, "usage: %s start|raised|final\n", argv[0]);
        return 2;
    }
    Palette palette{};
    for (int n = 1; n <= 256; ++n)
        setColour(palette, n, (n * 37) % 256, (n * 101 + 50) % 256, (n * 59 + 200) % 256);
    setColour(palette, 18, 100, 50, 25);
    setColour(palette, 35, 10, 200, 0);
    setColour(palette, 43, 14, 160, 60);
    if (stage != "start")
        setColour(palette, 18, 103, 50, 25);
    // From (10, 200, 0) to (14, 160, 60) over 8 steps of (0.5, -5, 7.5): every value on the way
    // is a multiple of 0.5, exact in binary, so only the rounding of the halves, to even, is
    // tested: reds 10 11 12 12 12 13 14, where half up would give 11 11 12 12 13 13 14.
    if (stage == "final")
        modelGradient(palette, 35, 43);
    for (int n = 1; n <= 256; ++n)
        for (int c = 1; c <= 3; ++c)
            std::printf("%d\n", palette[n][c]);
    return 0;
}
