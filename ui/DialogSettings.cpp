#include "DialogSettings.h"

#include <QSettings>
#include <QTemporaryDir>

void keepDialogSettingsPrivate() {
    // A static, so that it goes after QApplication: the colour dialog writes its custom colours
    // only while the application itself ends.
    static QTemporaryDir folder;
    static bool sent = false;
    if (sent || !folder.isValid())
        return;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, folder.path());
    sent = true;
}
