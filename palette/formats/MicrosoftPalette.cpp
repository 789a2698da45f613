#include "MicrosoftPalette.h"

#include <QtEndian>

namespace {

constexpr qint64 chunkHeader = 8;   // id and size
constexpr qint64 dataHeader = 4;    // version and count
constexpr quint16 version = 0x0300; // the only one there is
constexpr qint64 entrySize = 4;

quint32 little32(const QByteArray &bytes, qint64 at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
quint16 little16(const QByteArray &bytes, qint64 at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

void appendLittle(QByteArray &bytes, quint32 value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.append(char(value >> (8 * i)));
}

PaletteRead failure(const QString &source, const QString &problem) {
    return {{}, QStringLiteral("%1 is a Microsoft palette %2.").arg(source, problem), false};
}

} // namespace

bool isMicrosoftPalette(const QByteArray &bytes) {
    return bytes.startsWith("RIFF") && bytes.mid(8, 4) == "PAL ";
}

PaletteRead readMicrosoftPalette(const QByteArray &bytes, const QString &source) {
    // The RIFF size is not trusted: tools get it wrong, and the chunks are bounded by the bytes
    // there are. Sizes are 64-bit here so that no size in the file can wrap around.
    const qint64 end = bytes.size();
    qint64 at = 12;
    while (at + chunkHeader <= end && bytes.mid(at, 4) != "data")
        at += chunkHeader + little32(bytes, at + 4) + (little32(bytes, at + 4) & 1);
    if (at + chunkHeader > end)
        return failure(source, QStringLiteral("without colour data"));
    const qint64 data = at + chunkHeader;
    const qint64 available = std::min<qint64>(little32(bytes, at + 4), end - data);
    if (available < dataHeader)
        return failure(source, QStringLiteral("cut short"));
    if (const quint16 found = little16(bytes, data); found != version)
        return failure(source, QStringLiteral("of version 0x%1; the editor reads version 0x0300")
                                   .arg(found, 4, 16, QLatin1Char('0')));
    const qint64 count = little16(bytes, data + 2);
    if (dataHeader + count * entrySize > available)
        return failure(source, QStringLiteral("cut short"));
    PaletteRead read;
    for (qint64 n = 0, entry = data + dataHeader; n < count; ++n, entry += entrySize)
        read.colours.append(
            qRgb(quint8(bytes[entry]), quint8(bytes[entry + 1]), quint8(bytes[entry + 2])));
    return read;
}

QByteArray writeMicrosoftPalette(const QList<QRgb> &colours) {
    const quint32 dataSize = dataHeader + entrySize * colours.size();
    QByteArray bytes = "RIFF";
    // The RIFF size counts everything after itself: the form, the chunk header and its data.
    appendLittle(bytes, 4 + chunkHeader + dataSize, 4);
    bytes += "PAL data";
    appendLittle(bytes, dataSize, 4);
    appendLittle(bytes, version, 2);
    appendLittle(bytes, colours.size(), 2);
    for (const QRgb colour : colours)
        appendLittle(bytes, qRed(colour) | qGreen(colour) << 8 | qBlue(colour) << 16, 4);
    return bytes;
}
