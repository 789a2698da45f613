// libFuzzer target: any bytes through the palette readers, which must answer with colours or
// with a message, never crash, hang, leak or read outside the bytes.

#include "PaletteFormats.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

// Damaged images make the image libraries talk; millions of inputs would drown the report.
void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    qInstallMessageHandler(quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const PaletteRead read = readPaletteBytes(bytes, QStringLiteral("fuzz"));
    // Colours or a message, never both or neither; every colour opaque.
    if (read.error.isEmpty() == read.colours.isEmpty())
        std::abort();
    for (const QRgb colour : read.colours)
        if (qAlpha(colour) != 255)
            std::abort();
    return 0;
}
