#include "client/settings/ClientSettingsDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "client/base/QtText.h"

namespace zel {

QString ProgramDir(const QString& exeDir)
{
    const QString own = QDir::cleanPath(QDir::fromNativeSeparators(exeDir));
#ifndef Q_OS_WIN
    const QString shared = QDir::cleanPath(own + "/../share/zel");
    // Both ends of the font build must be there: a half-installed tree is not taken.
    if (QFileInfo(shared + "/Convert.tbl").isFile() && QFileInfo(shared + "/ZelH00.FNT").isFile())
        return shared;
#endif
    return own;
}

SettingsDefaults ClientSettingsDefaults()
{
    SettingsDefaults d;
    d.separator = '/';
    d.zelpath = FromQ(ProgramDir(QCoreApplication::applicationDirPath()));

    QByteArray override = qgetenv("ZEL_SETTINGS_DIR");
    QString userDir = !override.isEmpty()
                          ? QDir::fromNativeSeparators(QString::fromLocal8Bit(override))
                          : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Zel/HvnZel";
    d.gibodir = FromQ(userDir + "/Gibo");
    d.advhdir = FromQ(userDir + "/ADVH");
    return d;
}

} // namespace zel
