#include "RangeOperations.h"

#include "OkLab.h"

#include <algorithm>
#include <cmath>
#include <numbers>

QList<QRgb> adjustColours(const QList<QRgb> &colours, int hueDegrees, int chromaPercent,
                          int lightness) {
    const double turn = hueDegrees * std::numbers::pi / 180;
    QList<QRgb> adjusted;
    adjusted.reserve(colours.size());
    for (const QRgb colour : colours) {
        const OkLab point = okLabOf(colour);
        const double chroma = std::hypot(point.a, point.b) * chromaPercent / 100;
        const double hue = std::atan2(point.b, point.a) + turn;
        adjusted.append(rgbOfOkLab({std::clamp(point.L + lightness / 100.0, 0.0, 1.0),
                                    chroma * std::cos(hue), chroma * std::sin(hue)}));
    }
    return adjusted;
}

QList<QRgb> rampColours(const QList<QRgb> &colours) {
    QList<QRgb> ramp = colours;
    const qsizetype last = colours.size() - 1;
    if (last < 2)
        return ramp;
    const OkLab from = okLabOf(colours.first());
    const OkLab to = okLabOf(colours.last());
    for (qsizetype i = 1; i < last; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(last);
        ramp[i] = rgbOfOkLab({from.L + (to.L - from.L) * t, from.a + (to.a - from.a) * t,
                              from.b + (to.b - from.b) * t});
    }
    return ramp;
}

QList<QRgb> reverseColours(const QList<QRgb> &colours) {
    return QList<QRgb>(colours.rbegin(), colours.rend());
}
