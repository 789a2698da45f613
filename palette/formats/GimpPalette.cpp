#include "GimpPalette.h"

#include "DecimalColour.h"
#include "FormatMessages.h"
#include "TextLines.h"

bool isGimpPalette(const QByteArray &bytes) { return firstTextLine(bytes) == "GIMP Palette"; }

PaletteRead readGimpPalette(const QByteArray &bytes, const QString &source) {
    const QList<TextLine> lines = textLines(bytes);
    PaletteRead read;
    int channels = 3;
    for (const TextLine &line : lines.sliced(1)) {
        const QByteArray &text = line.text;
        if (text.isEmpty() || text.startsWith('#'))
            continue;
        // The header's lines come before the first colour.
        if (read.colours.isEmpty() && (text.startsWith("Name:") || text.startsWith("Columns:")))
            continue;
        if (read.colours.isEmpty() && text.startsWith("Channels:")) {
            const QByteArray layout = text.sliced(9).trimmed();
            if (layout != "RGB" && layout != "RGBA")
                return lineFailure(
                    source, line.number,
                    QStringLiteral("%1 is not a channel layout (RGB or RGBA)").arg(quoted(layout)));
            channels = layout.size();
            continue;
        }
        QRgb colour = 0;
        if (const QString problem = readDecimalColour(text, channels, channels, true, colour);
            !problem.isEmpty())
            return lineFailure(source, line.number, problem);
        read.colours.append(colour);
    }
    return read;
}

QByteArray writeGimpPalette(const QList<QRgb> &colours, const TerrainNames &terrainNames) {
    QByteArray bytes = "GIMP Palette\nName: europe\nColumns: 16\n#\n";
    for (int entry = 1; entry <= colours.size(); ++entry) {
        const QRgb colour = colours[entry - 1];
        const QString name = entry < int(terrainNames.size()) && !terrainNames[entry].isEmpty()
                                 ? QStringLiteral("%1 %2").arg(entry).arg(terrainNames[entry])
                                 : QString::number(entry);
        const auto number = [](int value) { return QByteArray::number(value).rightJustified(3); };
        bytes += number(qRed(colour)) + ' ' + number(qGreen(colour)) + ' ' + number(qBlue(colour)) +
                 '\t' + name.toUtf8() + '\n';
    }
    return bytes;
}
