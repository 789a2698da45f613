#include "ColourText.h"

#include <QRegularExpression>

std::optional<QColor> colourOfText(const QString &text) {
    // QColor's own parser would also take names such as "red" and twelve-digit hex.
    static const QRegularExpression hex(QStringLiteral("^#?([0-9a-f]{6})$|^#([0-9a-f]{3})$"),
                                        QRegularExpression::CaseInsensitiveOption);
    // Blanks are spaces or tabs.
    static const QRegularExpression numbers(
        QStringLiteral(
            R"(^rgb\([ \t]*([0-9]+)[ \t]*,[ \t]*([0-9]+)[ \t]*,[ \t]*([0-9]+)[ \t]*\)$)"
            R"(|^([0-9]+)(?:[ \t]*,[ \t]*|[ \t]+)([0-9]+)(?:[ \t]*,[ \t]*|[ \t]+)([0-9]+)$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = text.trimmed();
    if (const QRegularExpressionMatch match = hex.match(trimmed); match.hasMatch()) {
        QString digits = match.captured(1);
        if (digits.isEmpty())
            for (const QChar digit : match.captured(2))
                digits += QString(2, digit);
        return QColor::fromRgb(digits.toUInt(nullptr, 16));
    }
    const QRegularExpressionMatch match = numbers.match(trimmed);
    if (!match.hasMatch())
        return std::nullopt;
    const int first = match.capturedLength(1) > 0 ? 1 : 4;
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        bool whole = false;
        channels[i] = match.captured(first + i).toInt(&whole);
        if (!whole || channels[i] > 255)
            return std::nullopt;
    }
    return QColor(channels[0], channels[1], channels[2]);
}
