#include "DecimalColour.h"

#include "FormatMessages.h"
#include "TextLines.h"

#include <algorithm>

namespace {

constexpr int noValue = -1;

// The channel value a word gives, or noValue. Digits only: a sign or a fraction is no value.
int channelValue(const QByteArray &word) {
    int value = 0;
    for (const char c : word) {
        if (c < '0' || c > '9')
            return noValue;
        value = std::min(value * 10 + (c - '0'), 256);
    }
    return value <= 255 ? value : noValue;
}

} // namespace

QString readDecimalColour(const QByteArray &text, int least, int most, bool named, QRgb &colour) {
    const QList<QByteArray> words = blankSeparated(text);
    const QString notAColour = QStringLiteral("%1 is not a colour").arg(quoted(text));
    if (words.size() < least || (!named && words.size() > most))
        return notAColour;
    const qsizetype numbers = std::min<qsizetype>(words.size(), most);
    int channels[4] = {};
    for (qsizetype i = 0; i < numbers; ++i) {
        channels[i] = channelValue(words[i]);
        if (channels[i] != noValue)
            continue;
        if (!looksNumeric(words[i]))
            return notAColour;
        return QStringLiteral("%1 is not a channel value (0 to 255)").arg(shownNumber(words[i]));
    }
    colour = qRgb(channels[0], channels[1], channels[2]);
    return {};
}
