#include "TextLines.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArray withoutBlanks(QByteArrayView text) {
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text.toByteArray();
}

QByteArrayView withoutMark(const QByteArray &bytes) {
    const QByteArrayView text(bytes);
    return text.startsWith("\xEF\xBB\xBF") ? text.sliced(3) : text;
}

// Where the line starting at `from` ends, and where the next one starts.
std::pair<qsizetype, qsizetype> lineEnd(QByteArrayView text, qsizetype from) {
    qsizetype end = from;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r')
        ++end;
    qsizetype next = end;
    if (next < text.size())
        next += text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n' ? 2 : 1;
    return {end, next};
}

} // namespace

QList<TextLine> textLines(const QByteArray &bytes) {
    const QByteArrayView text = withoutMark(bytes);
    QList<TextLine> lines;
    for (qsizetype at = 0; at < text.size();) {
        const auto [end, next] = lineEnd(text, at);
        lines.append({int(lines.size()) + 1, withoutBlanks(text.sliced(at, end - at))});
        at = next;
    }
    return lines;
}

QByteArray firstTextLine(const QByteArray &bytes) {
    const QByteArrayView text = withoutMark(bytes);
    return withoutBlanks(text.first(lineEnd(text, 0).first));
}

QList<QByteArray> blankSeparated(const QByteArray &text) {
    QList<QByteArray> words;
    for (qsizetype at = 0; at < text.size();) {
        while (at < text.size() && isBlank(text[at]))
            ++at;
        qsizetype end = at;
        while (end < text.size() && !isBlank(text[end]))
            ++end;
        if (end > at)
            words.append(text.sliced(at, end - at));
        at = end;
    }
    return words;
}
