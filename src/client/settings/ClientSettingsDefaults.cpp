#include "client/settings/ClientSettingsDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "client/base/QtText.h"

namespace zel {

SettingsDefaults ClientSettingsDefaults()
{
    SettingsDefaults d;
    d.separator = '/';
    d.zelpath = FromQ(QDir::fromNativeSeparators(QCoreApplication::applicationDirPath()));

    QByteArray override = qgetenv("ZEL_SETTINGS_DIR");
    QString userDir = !override.isEmpty()
                          ? QDir::fromNativeSeparators(QString::fromLocal8Bit(override))
                          : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Zel/HvnZel";
    d.gibodir = FromQ(userDir + "/Gibo");
    d.advhdir = FromQ(userDir + "/ADVH");
    return d;
}

} // namespace zel
