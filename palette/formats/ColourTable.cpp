#include "ColourTable.h"

#include <algorithm>

namespace {

constexpr qsizetype tableSize = 768;
constexpr qsizetype countedSize = 772;

quint8 byteAt(const QByteArray &bytes, qsizetype at) { return quint8(bytes[at]); }

} // namespace

bool isColourTable(const QByteArray &bytes) {
    return bytes.size() == tableSize || bytes.size() == countedSize;
}

PaletteRead readColourTable(const QByteArray &bytes) {
    int count = 256;
    if (bytes.size() == countedSize) {
        // Tools write 0 (or nonsense) for "all of them"; the transparent index after it is of
        // no use to a palette without transparency.
        const int inUse = byteAt(bytes, tableSize) << 8 | byteAt(bytes, tableSize + 1);
        count = inUse >= 1 && inUse <= 256 ? inUse : 256;
    }
    count = std::min<int>(count, bytes.size() / 3);
    PaletteRead read;
    read.fromColourTable = true;
    for (int n = 0; n < count; ++n)
        read.colours.append(
            qRgb(byteAt(bytes, 3 * n), byteAt(bytes, 3 * n + 1), byteAt(bytes, 3 * n + 2)));
    return read;
}

QByteArray writeColourTable(const QList<QRgb> &colours) {
    QByteArray bytes;
    for (const QRgb colour : colours)
        bytes.append(char(qRed(colour))).append(char(qGreen(colour))).append(char(qBlue(colour)));
    return bytes;
}
