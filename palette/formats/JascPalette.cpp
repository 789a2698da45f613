#include "JascPalette.h"

#include "DecimalColour.h"
#include "FormatMessages.h"
#include "TextLines.h"

namespace {

constexpr int countLine = 3;

// The count line's number of colours, or 0 where it holds none from 1 to 256.
int colourCount(const QByteArray &text) {
    bool ok = false;
    const int count = text.toInt(&ok);
    return ok && looksNumeric(text) && count >= 1 && count <= 256 ? count : 0;
}

} // namespace

bool isJascPalette(const QByteArray &bytes) { return firstTextLine(bytes) == "JASC-PAL"; }

PaletteRead readJascPalette(const QByteArray &bytes, const QString &source) {
    const QList<TextLine> lines = textLines(bytes);
    const auto missing = [&](int line, const QString &what) {
        return lineFailure(source, line, QStringLiteral("%1 is missing").arg(what));
    };
    if (lines.size() < 2)
        return missing(2, QStringLiteral("the version 0100"));
    if (lines[1].text != "0100")
        return lineFailure(source, 2,
                           QStringLiteral("%1 is not version 0100").arg(quoted(lines[1].text)));
    if (lines.size() < countLine)
        return missing(countLine, QStringLiteral("the colour count"));
    const QByteArray &countText = lines[countLine - 1].text;
    const int count = colourCount(countText);
    if (count == 0)
        return lineFailure(
            source, countLine,
            QStringLiteral("%1 is not a colour count (1 to 256)").arg(shownNumber(countText)));

    PaletteRead read;
    for (int n = 1; n <= count; ++n) {
        const int line = countLine + n;
        if (line > lines.size())
            return missing(line, QStringLiteral("colour %1 of %2").arg(n).arg(count));
        QRgb colour = 0;
        if (const QString problem = readDecimalColour(lines[line - 1].text, 3, 4, false, colour);
            !problem.isEmpty())
            return lineFailure(source, line, problem);
        read.colours.append(colour);
    }
    return read;
}

QByteArray writeJascPalette(const QList<QRgb> &colours) {
    QByteArray bytes = "JASC-PAL\r\n0100\r\n" + QByteArray::number(colours.size()) + "\r\n";
    for (const QRgb colour : colours)
        bytes += QByteArray::number(qRed(colour)) + ' ' + QByteArray::number(qGreen(colour)) + ' ' +
                 QByteArray::number(qBlue(colour)) + "\r\n";
    return bytes;
}
