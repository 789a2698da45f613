#include "ExportFile.h"

QString exportFile(const QString &path, const QByteArray &, const QString &) {
    return QStringLiteral("%1 cannot be written yet.").arg(path);
}
