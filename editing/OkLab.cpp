#include "OkLab.h"

#include <algorithm>
#include <array>
#include <cmath>

// Every constant and step below is the published one, in double precision, so that other tools
// working in OKLab give the same colours for the same numbers.

namespace {

using Linear = std::array<double, 3>;

double linearOfChannel(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The same numbers as linearOfChannel, worked out once for the 256 channel values.
const std::array<double, 256> &linearTable() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (int v = 0; v < 256; ++v)
            values[v] = linearOfChannel(v);
        return values;
    }();
    return table;
}

int channelOfLinear(double x) {
    const double c = x <= 0.0031308 ? 12.92 * x : 1.055 * std::pow(x, 1 / 2.4) - 0.055;
    // std::round takes halves away from zero.
    return static_cast<int>(std::clamp(std::round(255 * c), 0.0, 255.0));
}

Linear linearOfOkLab(const OkLab &p) {
    const double l = p.L + 0.3963377774 * p.a + 0.2158037573 * p.b;
    const double m = p.L - 0.1055613458 * p.a - 0.0638541728 * p.b;
    const double s = p.L - 0.0894841775 * p.a - 1.2914855480 * p.b;
    const double l3 = l * l * l;
    const double m3 = m * m * m;
    const double s3 = s * s * s;
    return {4.0767416621 * l3 - 3.3077115913 * m3 + 0.2309699292 * s3,
            -1.2684380046 * l3 + 2.6097574011 * m3 - 0.3413193965 * s3,
            -0.0041960863 * l3 - 0.7034186147 * m3 + 1.7076147010 * s3};
}

// A hair of slack, so that colours on the gamut's surface, which come back from the cube a few
// units in the last place outside it, still count as shown.
bool fits(const Linear &linear) {
    return std::all_of(linear.begin(), linear.end(),
                       [](double x) { return x >= -0.0000001 && x <= 1.0000001; });
}

} // namespace

OkLab okLabOf(QRgb colour) {
    const auto &table = linearTable();
    const double r = table[qRed(colour)];
    const double g = table[qGreen(colour)];
    const double b = table[qBlue(colour)];
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

QRgb rgbOfOkLab(const OkLab &point) {
    Linear linear = linearOfOkLab(point);
    if (!fits(linear)) {
        // Clipping the channels would turn the hue; less chroma at the same lightness and hue
        // keeps it. The answer is the lower end, the last chroma found to fit (0 when even the
        // grey of this lightness does not: then holding the channels does the rest).
        const double hue = std::atan2(point.b, point.a);
        const double cosine = std::cos(hue);
        const double sine = std::sin(hue);
        const auto at = [&](double chroma) {
            return linearOfOkLab({point.L, chroma * cosine, chroma * sine});
        };
        double low = 0;
        double high = std::hypot(point.a, point.b);
        for (int halving = 0; halving < 40; ++halving) {
            const double middle = (low + high) / 2;
            (fits(at(middle)) ? low : high) = middle;
        }
        linear = at(low);
    }
    return qRgb(channelOfLinear(linear[0]), channelOfLinear(linear[1]), channelOfLinear(linear[2]));
}
