#pragma once

#include <QByteArray>
#include <QList>

// One line of a text palette: its number counted from 1 in the text as given, and its content
// without the line end and without blanks (spaces, tabs) at either side.
struct TextLine {
    int number = 0;
    QByteArray text;
};

// The lines of a text, a UTF-8 byte-order mark skipped; a line ends at CR LF, LF or CR alike.
// A last line without an end counts; an end at the very end starts no further line.
QList<TextLine> textLines(const QByteArray &bytes);

// The first line as textLines gives it, without splitting the whole text.
QByteArray firstTextLine(const QByteArray &bytes);

// The text split at runs of blanks.
QList<QByteArray> blankSeparated(const QByteArray &text);
