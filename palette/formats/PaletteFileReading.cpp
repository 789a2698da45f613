#include "PaletteFormats.h"

#include "FormatMessages.h"
#include "PaletteFile.h"
#include "PaletteImage.h"

#include <QDir>

namespace {

// Text palettes of 256 colours are a few KiB; a file of a MiB is none.
constexpr qint64 paletteFileLimit = 1 << 20;
// Enough for any image header the size is read from, the signatures among them.
constexpr qint64 headerBytes = 64 * 1024;

} // namespace

PaletteRead readPaletteFile(const QString &path) {
    const QString source = QDir::toNativeSeparators(path);
    const OpenedPaletteFile opened = openPaletteFile(path);
    if (!opened.error.isEmpty())
        return readFailure(opened.error);
    QByteArray bytes;
    if (const QString error = readPaletteFileOn(opened, path, bytes, headerBytes); !error.isEmpty())
        return readFailure(error);

    // Refused from the size and the header alone, before the rest is read.
    const bool image = isPaletteImage(bytes);
    const qint64 limit = image ? imageFileLimit : paletteFileLimit;
    const auto tooLarge = [&] {
        const QString what =
            image ? QStringLiteral("palette image") : QStringLiteral("palette file");
        return readFailure(QStringLiteral("%1 is over %2 MiB: too large for a %3.")
                               .arg(source)
                               .arg(limit >> 20)
                               .arg(what));
    };
    if (opened.size > limit)
        return tooLarge();
    if (const QString error = image ? imageTooLarge(bytes, source) : QString(); !error.isEmpty())
        return readFailure(error);
    // One byte over the limit tells a file that grew since it was looked at.
    if (const QString error = readPaletteFileOn(opened, path, bytes, limit + 1 - bytes.size());
        !error.isEmpty())
        return readFailure(error);
    if (bytes.size() > limit)
        return tooLarge();
    return readPaletteBytes(bytes, source);
}
