#pragma once

#include "EditorState.h"

#include <QByteArray>
#include <QString>

// A palette file is 256 entries of red, green and blue bytes, nothing else.
constexpr qint64 paletteFileSize = 768;

// Reads the first 768 bytes of the file at path into rows 1..256 of palette, packed colours
// included. Returns an empty string on success; otherwise an error text naming the file and
// the problem, and palette is left exactly as it was.
QString loadPalette(const QString &path, Palette &palette);

// Writes rows 1..256 of palette to path as exactly 768 bytes. Where a new file can take the old
// one's place with the same owner, group, mode, ACL and extended attributes, the old file is
// replaced only once the new content is complete, so a failure leaves it whole. Otherwise (a
// folder this user may not write, another user's file, a second hard link, an attribute that
// cannot be copied) the file is overwritten where it stands and keeps its identity; a failure
// there can leave a mix of old and new entries, never a short file. A file this user may not
// write is refused, and so is a save during which another file took the name: nothing is
// written then. Returns an empty string on success, otherwise an error text naming the file and
// the reason.
QString savePalette(const QString &path, const Palette &palette);

// The bytes savePalette writes.
QByteArray paletteBytes(const Palette &palette);

// Sets rows 1..256 of palette, packed colours included, from 768 bytes.
void setPaletteFromBytes(Palette &palette, const QByteArray &bytes);
