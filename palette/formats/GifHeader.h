#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QSize>

// What a GIF's own first bytes say: its logical screen size and its global colour table, which
// Qt's reader does not give.
struct GifHeader {
    QSize size; // invalid where the bytes are too short to say
    bool hasGlobalColours = false;
    QList<QRgb> globalColours; // empty where the table is cut short
};

// Whether the bytes start with a GIF signature.
bool isGif(const QByteArray &bytes);
GifHeader readGifHeader(const QByteArray &bytes);
