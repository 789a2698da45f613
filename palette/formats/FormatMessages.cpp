#include "FormatMessages.h"

#include "PaletteFormats.h"

#include <algorithm>

namespace {

// Long enough to recognise a line, short enough for a message box.
constexpr int shownLength = 40;

QString shortened(const QByteArray &text) {
    const QString whole = QString::fromUtf8(text);
    return whole.size() <= shownLength ? whole : whole.left(shownLength) + QChar(0x2026);
}

} // namespace

PaletteRead readFailure(const QString &error) { return {{}, error, false}; }

PaletteRead lineFailure(const QString &source, int line, const QString &problem) {
    return readFailure(QStringLiteral("%1, line %2: %3.").arg(source).arg(line).arg(problem));
}

PaletteRead notAPalette(const QString &source) {
    return readFailure(QStringLiteral("%1 is not a palette file the editor reads.").arg(source));
}

PaletteRead noColours(const QString &source) {
    return readFailure(QStringLiteral("%1 is a palette with no colours.").arg(source));
}

QString quoted(const QByteArray &text) { return QLatin1Char('\'') + shortened(text) + '\''; }

bool looksNumeric(const QByteArray &word) {
    const QByteArrayView digits = word.startsWith('-') || word.startsWith('+')
                                      ? QByteArrayView(word).sliced(1)
                                      : QByteArrayView(word);
    return !digits.isEmpty() &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

QString shownNumber(const QByteArray &word) {
    return looksNumeric(word) ? shortened(word) : quoted(word);
}
