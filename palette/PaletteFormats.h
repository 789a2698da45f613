#pragma once

#include "EditorState.h"

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QString>

// The palette formats other palette tools read and write, recognised by content, never by name.

// What a palette file or text held: its colours in order (opaque, alpha dropped), or why it
// could not be read.
struct PaletteRead {
    QList<QRgb> colours;
    // Empty on success; else names the source, the problem and, for text, the line:
    // "…/grass.gpl, line 7: 300 is not a channel value (0 to 255)."
    QString error;
    // Read from a 768- or 772-byte colour table, which may hold a 6-bit VGA palette.
    bool fromColourTable = false;
};

// Reads bytes in whichever format they are in. `source` names them in messages: a file's path
// as shown to the user, or "Clipboard".
PaletteRead readPaletteBytes(const QByteArray &bytes, const QString &source);

// Reads the palette file at path: what cannot be opened says why as loading europe.act does, and
// a file too large to be a palette is refused before it is read whole.
PaletteRead readPaletteFile(const QString &path);

// Whether every channel of every colour is 63 or less, as in a 6-bit VGA palette.
bool looksSixBit(const QList<QRgb> &colours);
// Each channel v of a 6-bit palette as 8 bits: 4 v + v div 16 (0 stays 0, 63 becomes 255).
QList<QRgb> scaleSixBit(const QList<QRgb> &colours);

enum class PaletteFormat { gimp, jasc, microsoft, hexList, colourTable, png };

// The file that holds the 256 colours (entries 1..256 in order) in the format; the GIMP palette
// names each colour by its entry number and terrain class.
QByteArray writePaletteBytes(const QList<QRgb> &colours, PaletteFormat format,
                             const TerrainNames &terrainNames);
