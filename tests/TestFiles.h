#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRgb>
#include <QString>

inline bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The file's bytes, or none when it cannot be read.
inline QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A GIMP palette file of the colours, each named "name".
inline QByteArray gimpText(const QList<QRgb> &colours) {
    QByteArray text = "GIMP Palette\nName: test\n#\n";
    for (const QRgb colour : colours)
        text += QByteArray::number(qRed(colour)) + ' ' + QByteArray::number(qGreen(colour)) + ' ' +
                QByteArray::number(qBlue(colour)) + "\tname\n";
    return text;
}
