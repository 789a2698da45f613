#pragma once

#include <QRgb>

// A colour in Björn Ottosson's OKLab: lightness L (0 black, 1 white) and the opponent axes a
// (green to red) and b (blue to yellow). Straight lines and even steps in it look even to the eye.
struct OkLab {
    double L = 0;
    double a = 0;
    double b = 0;
};

// The OKLab point of an sRGB colour; alpha is ignored.
OkLab okLabOf(QRgb colour);

// The opaque sRGB colour of an OKLab point. A point the screen cannot show keeps its lightness and
// hue and gets the largest chroma that fits; the channels are then held within 0..255.
QRgb rgbOfOkLab(const OkLab &point);
