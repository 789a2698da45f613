#include "ColourList.h"

#include "ColourText.h"
#include "PaletteFormats.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const QString clipboard = QStringLiteral("Clipboard");

// The palette readers know these texts by their first line.
bool namesItsFormat(const QString &firstLine) {
    return firstLine == QLatin1String("GIMP Palette") || firstLine == QLatin1String("JASC-PAL");
}

} // namespace

ColourList colourListOfText(const QString &text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QString body = text;
    if (body.startsWith(QChar(0xfeff)))
        body.remove(0, 1);
    const QStringList lines = body.split(lineEnd);
    QStringList filled;
    for (const QString &line : lines)
        if (!line.trimmed().isEmpty())
            filled.append(line.trimmed());
    if (filled.size() < 2)
        return {};
    const auto asPalette = [&] {
        PaletteRead read = readPaletteBytes(body.toUtf8(), clipboard);
        return ColourList{std::move(read.colours), std::move(read.error)};
    };
    if (namesItsFormat(filled.constFirst()))
        return asPalette();
    ColourList list;
    for (qsizetype number = 0; number < lines.size(); ++number) {
        const QString line = lines[number].trimmed();
        if (line.isEmpty())
            continue;
        if (const std::optional<QColor> colour = colourOfText(line)) {
            list.colours.append(colour->rgb());
            continue;
        }
        // A hex palette may hold what a single paste does not take: comments, AARRGGBB.
        if (ColourList palette = asPalette(); palette.error.isEmpty())
            return palette;
        // A long line is shortened: the message must fit a box.
        const QString shown = line.size() > 40 ? line.left(39) + QChar(0x2026) : line;
        return {{},
                QStringLiteral("%1, line %2: '%3' is not a colour.")
                    .arg(clipboard)
                    .arg(number + 1)
                    .arg(shown)};
    }
    return list;
}
