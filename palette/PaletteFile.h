#pragma once

#include "EditorState.h"
#include "FileDescriptor.h"

#include <QByteArray>
#include <QString>

// A palette file is 256 entries of red, green and blue bytes, nothing else.
constexpr qint64 paletteFileSize = 768;

// The file at path opened for reading, without following a link swapped in, waiting on a named
// pipe or opening a device, with its size. Where it cannot be opened, error names the file and
// the problem, and gone says whether nothing is there at all.
struct OpenedPaletteFile {
    FileDescriptor file;
    qint64 size = 0;
    QString error;
    bool gone = false;
};
OpenedPaletteFile openPaletteFile(const QString &path);

// Appends up to count more bytes of the opened file, from where its reading stands, to bytes;
// fewer only at its end. Returns an empty string, or an error text naming the file (path).
QString readPaletteFileOn(const OpenedPaletteFile &opened, const QString &path, QByteArray &bytes,
                          qint64 count);

// The start of the file at path as it stands, opened as openPaletteFile opens it: its first
// limit bytes (fewer in a shorter file) and its size. Where it cannot be read, error names the
// file and the problem, and gone says whether nothing is there at all.
struct PaletteFileStart {
    QByteArray bytes;
    qint64 size = 0;
    QString error;
    bool gone = false;
};
PaletteFileStart readPaletteStart(const QString &path, qint64 limit = paletteFileSize);

// Reads the first 768 bytes of the file at path into rows 1..256 of palette, packed colours
// included, and the file's size into fileSize where given. Returns an empty string on success;
// otherwise an error text naming the file and the problem, and palette is left exactly as it was.
QString loadPalette(const QString &path, Palette &palette, qint64 *fileSize = nullptr);

// Writes rows 1..256 of palette to path as exactly 768 bytes. Where a new file can take the old
// one's place with the same owner, group, mode, ACL and extended attributes, the old file is
// replaced only once the new content is complete, so a failure leaves it whole. Otherwise (a
// folder this user may not write, another user's file, a second hard link, an attribute that
// cannot be copied) the file is overwritten where it stands and keeps its identity; a failure
// there can leave a mix of old and new entries, never a short file. A file this user may not
// write is refused, and so is a save during which another file took the name: nothing is
// written then. Returns an empty string on success, otherwise an error text naming the file and
// the reason. After the rename the folder is synced too, so that the new name outlasts a power
// cut; where that fails, the error says so, and written (where given) still tells that the file
// holds the palette.
QString savePalette(const QString &path, const Palette &palette, bool *written = nullptr);

// The bytes savePalette writes.
QByteArray paletteBytes(const Palette &palette);

// Sets rows 1..256 of palette, packed colours included, from 768 bytes.
void setPaletteFromBytes(Palette &palette, const QByteArray &bytes);
