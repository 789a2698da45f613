#pragma once

#include "EditorState.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// What the editor should hold and show, worked out here without the editor's own code.

inline void setColour(Palette &palette, int entry, int red, int green, int blue) {
    palette[entry][1] = red;
    palette[entry][2] = green;
    palette[entry][3] = blue;
    palette[entry][0] = red + 256 * green + 65536 * blue;
}

// Every entry a colour of its own, all three channels varying.
inline Palette distinctPalette() {
    Palette palette{};
    for (int n = 1; n <= 256; ++n)
        setColour(palette, n, (n * 11 + 3) % 256, (n * 29 + 100) % 256, (n * 53 + 7) % 256);
    return palette;
}

// The terrain class an entry's position stands for.
inline QString className(int entry) {
    if (entry <= 26)
        return QStringLiteral("Dirt / Road Close");
    if (entry <= 52)
        return QStringLiteral("Grass Close");
    if (entry <= 78)
        return QStringLiteral("Sand Close");
    if (entry <= 87)
        return QStringLiteral("Dirt / Road Far");
    if (entry <= 96)
        return QStringLiteral("Grass Far");
    if (entry <= 105)
        return QStringLiteral("Sand Far");
    return QStringLiteral("Unknown");
}

// The palette file that loads as this palette.
inline QByteArray fileBytes(const Palette &palette) {
    QByteArray bytes(768, '\0');
    for (int n = 1; n <= 256; ++n)
        for (int c = 1; c <= 3; ++c)
            bytes[3 * (n - 1) + c - 1] = static_cast<char>(palette[n][c]);
    return bytes;
}

// Paints entry n's cell of an expected picture in one colour.
inline void paintExpectedCell(QImage &picture, int n, QRgb colour) {
    const int left = (n - 1) % 16 * 16;
    const int top = (n - 1) / 16 * 16;
    for (int y = top; y < top + 16; ++y)
        for (int x = left; x < left + 16; ++x)
            picture.setPixel(x, y, colour);
}

// Inverts the one-pixel border of entry n's cell, as an exclusive-or outline in white does.
inline void invertExpectedBorder(QImage &picture, int n) {
    const int left = (n - 1) % 16 * 16;
    const int top = (n - 1) / 16 * 16;
    for (int y = top; y < top + 16; ++y)
        for (int x = left; x < left + 16; ++x)
            if (x == left || x == left + 15 || y == top || y == top + 15)
                picture.setPixel(x, y, picture.pixel(x, y) ^ 0x00ffffffu);
}

// The grid as it should look: every cell in its entry's colour (taken from the channels, not
// the packed value) and, for each listed entry, the border pixels of its cell inverted.
inline QImage expectedPicture(const Palette &palette, const QList<int> &outlined = {}) {
    QImage picture(256, 256, QImage::Format_RGB32);
    for (int n = 1; n <= 256; ++n)
        paintExpectedCell(picture, n, qRgb(palette[n][1], palette[n][2], palette[n][3]));
    for (int n : outlined)
        invertExpectedBorder(picture, n);
    return picture;
}

// The first pixel where two pictures differ, or an empty string when they are equal.
inline QString firstDifference(const QImage &actual, const QImage &expected) {
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return QStringLiteral("pixel (%1, %2) of entry %3 is #%4, expected #%5")
                    .arg(x)
                    .arg(y)
                    .arg(x / 16 + 16 * (y / 16) + 1)
                    .arg(actual.pixel(x, y) & 0xffffffu, 6, 16, QLatin1Char('0'))
                    .arg(expected.pixel(x, y) & 0xffffffu, 6, 16, QLatin1Char('0'));
    return {};
}

// The first entry whose row differs, or an empty string when the palettes are equal.
inline QString firstPaletteDifference(const Palette &actual, const Palette &expected) {
    for (int n = 0; n < 258; ++n)
        for (int c = 0; c < 5; ++c)
            if (actual[n][c] != expected[n][c])
                return QStringLiteral("entry %1 is (%2, %3, %4; packed %5), expected (%6, %7, %8; "
                                      "packed %9)")
                    .arg(n)
                    .arg(actual[n][1])
                    .arg(actual[n][2])
                    .arg(actual[n][3])
                    .arg(actual[n][0])
                    .arg(expected[n][1])
                    .arg(expected[n][2])
                    .arg(expected[n][3])
                    .arg(expected[n][0]);
    return {};
}
