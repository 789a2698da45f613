#include "PaletteFormats.h"

#include "ColourTable.h"
#include "FormatMessages.h"
#include "GimpPalette.h"
#include "HexList.h"
#include "JascPalette.h"
#include "MicrosoftPalette.h"
#include "PaletteImage.h"

#include <algorithm>

namespace {

PaletteRead readRecognised(const QByteArray &bytes, const QString &source) {
    // In this order: signatures first, then the text a file starts with, the bare length last.
    if (isPaletteImage(bytes))
        return readPaletteImage(bytes, source);
    if (isMicrosoftPalette(bytes))
        return readMicrosoftPalette(bytes, source);
    if (isJascPalette(bytes))
        return readJascPalette(bytes, source);
    if (isGimpPalette(bytes))
        return readGimpPalette(bytes, source);
    if (isHexList(bytes))
        return readHexList(bytes, source);
    if (isColourTable(bytes))
        return readColourTable(bytes);
    return notAPalette(source);
}

} // namespace

PaletteRead readPaletteBytes(const QByteArray &bytes, const QString &source) {
    PaletteRead read = readRecognised(bytes, source);
    return read.error.isEmpty() && read.colours.isEmpty() ? noColours(source) : read;
}

bool looksSixBit(const QList<QRgb> &colours) {
    return !colours.isEmpty() && std::all_of(colours.begin(), colours.end(), [](QRgb colour) {
        return qRed(colour) <= 63 && qGreen(colour) <= 63 && qBlue(colour) <= 63;
    });
}

QList<QRgb> scaleSixBit(const QList<QRgb> &colours) {
    // A value over 63 has no 8-bit counterpart; it becomes full intensity.
    const auto scaled = [](int v) { return std::min(4 * v + v / 16, 255); };
    QList<QRgb> result;
    for (const QRgb colour : colours)
        result.append(qRgb(scaled(qRed(colour)), scaled(qGreen(colour)), scaled(qBlue(colour))));
    return result;
}

QByteArray writePaletteBytes(const QList<QRgb> &colours, PaletteFormat format,
                             const TerrainNames &terrainNames) {
    // Always the 256 entries: a shorter list is made up with black, a longer one cut.
    QList<QRgb> entries = colours.first(std::min<qsizetype>(colours.size(), entryCount));
    entries.resize(entryCount, qRgb(0, 0, 0));
    switch (format) {
    case PaletteFormat::gimp:
        return writeGimpPalette(entries, terrainNames);
    case PaletteFormat::jasc:
        return writeJascPalette(entries);
    case PaletteFormat::microsoft:
        return writeMicrosoftPalette(entries);
    case PaletteFormat::hexList:
        return writeHexList(entries);
    case PaletteFormat::colourTable:
        return writeColourTable(entries);
    case PaletteFormat::png:
        return writePaletteImage(entries);
    }
    return {};
}
