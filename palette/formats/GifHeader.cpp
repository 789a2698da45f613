#include "GifHeader.h"

#include <QtEndian>

namespace {

// The signature, then the logical screen: width, height, a byte of flags, two more bytes.
constexpr qsizetype screenEnd = 13;
constexpr quint8 globalTableFlag = 0x80;

} // namespace

bool isGif(const QByteArray &bytes) {
    return bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a");
}

GifHeader readGifHeader(const QByteArray &bytes) {
    GifHeader header;
    if (bytes.size() < screenEnd)
        return header;
    header.size = QSize(qFromLittleEndian<quint16>(bytes.constData() + 6),
                        qFromLittleEndian<quint16>(bytes.constData() + 8));
    const quint8 flags = quint8(bytes[10]);
    header.hasGlobalColours = flags & globalTableFlag;
    // 2 to 256 colours, as the low three bits say.
    const qsizetype count = qsizetype(2) << (flags & 7);
    if (!header.hasGlobalColours || bytes.size() < screenEnd + 3 * count)
        return header;
    for (qsizetype n = 0, at = screenEnd; n < count; ++n, at += 3)
        header.globalColours.append(
            qRgb(quint8(bytes[at]), quint8(bytes[at + 1]), quint8(bytes[at + 2])));
    return header;
}
