#include "client/settings/QtSettingsBackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include "client/base/QtText.h"

namespace zel {
namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

std::unique_ptr<QSettings> OpenDefault()
{
    QByteArray dir = qgetenv("ZEL_SETTINGS_DIR");
    if (!dir.isEmpty())
        return std::make_unique<QSettings>(QDir(QString::fromLocal8Bit(dir)).filePath("HvnZel.ini"),
                                           QSettings::IniFormat);
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "Zel", "HvnZel");
#else
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Zel", "HvnZel");
#endif
}

// QSettings reads '/' and '\' in a key as group separators; key suffixes may
// be either (friend 44 is "friendid\"), so they are escaped.
QString KeyPath(const std::string& section, const std::string& key)
{
    QString escaped;
    for (QChar c : ToQ(key)) {
        if (c == u'%')
            escaped += "%25";
        else if (c == u'/')
            escaped += "%2F";
        else if (c == u'\\')
            escaped += "%5C";
        else
            escaped += c;
    }
    return ToQ(section) + u'/' + escaped;
}

} // namespace

QtSettingsBackend::QtSettingsBackend() : settings_(OpenDefault())
{
    Protect();
}

QtSettingsBackend::QtSettingsBackend(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
    Protect();
}

QtSettingsBackend::~QtSettingsBackend()
{
    Flush();
}

std::optional<std::string> QtSettingsBackend::Read(const std::string& section, const std::string& key)
{
    QString path = KeyPath(section, key);
    if (!settings_->contains(path))
        return std::nullopt;
    QVariant value = settings_->value(path);
    // A hand-edited INI line with commas comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return FromQ(value.toStringList().join(", "));
    return FromQ(value.toString());
}

void QtSettingsBackend::Write(const std::string& section, const std::string& key, const std::string& value)
{
    settings_->setValue(KeyPath(section, key), ToQ(value));
    Protect();
}

void QtSettingsBackend::Flush()
{
    settings_->sync();
    Protect();
}

QString QtSettingsBackend::FileName() const
{
    return settings_->fileName();
}

void QtSettingsBackend::Protect()
{
    if (settings_->format() != QSettings::IniFormat)
        return;
    QString name = settings_->fileName();
    QFileInfo info(name);
    if (!info.exists()) {
        // Created empty and private before QSettings first writes it, so the
        // password is never in a file others can read.
        QDir().mkpath(info.absolutePath());
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly))
            return;
        file.close();
    }
    constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                 QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                 QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (QFile::permissions(name) & kOthers)
        QFile::setPermissions(name, kOwnerOnly);
}

} // namespace zel
