#include "PaletteFormats.h"

PaletteRead readPaletteBytes(const QByteArray &, const QString &source) {
    return {{}, QStringLiteral("%1 is not a palette file the editor reads.").arg(source), false};
}

PaletteRead readPaletteFile(const QString &path) { return readPaletteBytes({}, path); }

bool looksSixBit(const QList<QRgb> &) { return false; }

QList<QRgb> scaleSixBit(const QList<QRgb> &colours) { return colours; }

QByteArray writePaletteBytes(const QList<QRgb> &, PaletteFormat, const TerrainNames &) {
    return {};
}
