#include "HexList.h"

#include "FormatMessages.h"
#include "TextLines.h"

#include <algorithm>
#include <optional>

namespace {

bool skipped(const QByteArray &text) { return text.isEmpty() || text.startsWith(';'); }

std::optional<QRgb> hexColour(const QByteArray &text) {
    const bool marked = text.startsWith('#');
    const QByteArrayView digits = marked ? QByteArrayView(text).sliced(1) : QByteArrayView(text);
    const bool hex = std::all_of(digits.begin(), digits.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
    if (!hex || !(digits.size() == 6 || (digits.size() == 8 && !marked)))
        return std::nullopt;
    return qRgb(0, 0, 0) | digits.toByteArray().toUInt(nullptr, 16);
}

} // namespace

bool isHexList(const QByteArray &bytes) {
    const QList<TextLine> lines = textLines(bytes);
    const auto first = std::find_if(lines.begin(), lines.end(),
                                    [](const TextLine &line) { return !skipped(line.text); });
    return first != lines.end() && hexColour(first->text);
}

PaletteRead readHexList(const QByteArray &bytes, const QString &source) {
    PaletteRead read;
    for (const TextLine &line : textLines(bytes)) {
        if (skipped(line.text))
            continue;
        const std::optional<QRgb> colour = hexColour(line.text);
        if (!colour)
            return lineFailure(source, line.number,
                               QStringLiteral("%1 is not a colour").arg(quoted(line.text)));
        read.colours.append(*colour);
    }
    return read;
}

QByteArray writeHexList(const QList<QRgb> &colours) {
    QByteArray bytes;
    for (const QRgb colour : colours)
        bytes += QByteArray::number(colour & 0xffffff, 16).rightJustified(6, '0') + '\n';
    return bytes;
}
