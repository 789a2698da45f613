// Writes the demo terrain palette: ramps of road browns, grass greens and sands for the near
// and far ranges, and a neutral ramp for the rest.
#include <cstdio>
#include <vector>

namespace {

struct Colour {
    int red, green, blue;
};

void ramp(std::vector<Colour> &palette, int count, Colour from, Colour to) {
    for (int i = 0; i < count; ++i) {
        const auto mix = [&](int a, int b) {
            return a + (b - a) * i / (count > 1 ? count - 1 : 1);
        };
        palette.push_back(
            {mix(from.red, to.red), mix(from.green, to.green), mix(from.blue, to.blue)});
    }
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    std::vector<Colour> palette;
    ramp(palette, 26, {62, 44, 30}, {168, 138, 104});   // road, close
    ramp(palette, 26, {22, 58, 18}, {128, 176, 78});    // grass, close
    ramp(palette, 26, {150, 124, 80}, {236, 218, 170}); // sand, close
    ramp(palette, 9, {112, 100, 90}, {176, 164, 150});  // road, far: hazier
    ramp(palette, 9, {78, 104, 78}, {150, 174, 140});   // grass, far
    ramp(palette, 9, {178, 168, 140}, {222, 214, 192}); // sand, far
    ramp(palette, 151, {0, 0, 0}, {255, 255, 255});     // everything else

    std::FILE *out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    for (const Colour &c : palette) {
        const unsigned char bytes[3] = {static_cast<unsigned char>(c.red),
                                        static_cast<unsigned char>(c.green),
                                        static_cast<unsigned char>(c.blue)};
        std::fwrite(bytes, 1, 3, out);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
