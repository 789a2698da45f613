#pragma once

#include <QList>
#include <QRgb>

// The range tools, each from the colours of a run of entries, in entry order, to their new
// colours. They work in OKLab, where equal steps look equal; the colours they work out are
// opaque.

// Turns the hue by `hueDegrees`, scales the chroma by `chromaPercent` / 100 and adds
// `lightness` / 100 to the lightness, which stays within black and white. With 0, 100 and 0
// every colour comes back exactly.
QList<QRgb> adjustColours(const QList<QRgb> &colours, int hueDegrees, int chromaPercent,
                          int lightness);

// Keeps the first and last colours and gives those between them even steps on the straight line
// from the first to the last in OKLab.
QList<QRgb> rampColours(const QList<QRgb> &colours);

// The same colours, last first.
QList<QRgb> reverseColours(const QList<QRgb> &colours);
