#include <QApplication>
#include <QDir>
#include <QFont>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStringList>

#include "client/app/NotifyForms.h"
#include "client/app/TestHook.h"
#include "client/app/Zel4HvnForm.h"
#include "client/base/QtText.h"
#include "client/base/UiFont.h"
#include "client/settings/QtSettingsBackend.h"
#include "core/settings/ZelStatus.h"

namespace {

// Installed data next to the program; the user's records and banners in the
// user's data directory (the settings directory when one is forced).
zel::SettingsDefaults Defaults()
{
    zel::SettingsDefaults d;
    QString data = qEnvironmentVariable("ZEL_SETTINGS_DIR");
    if (data.isEmpty())
        data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    d.zelpath = zel::FromQ(QDir(QCoreApplication::applicationDirPath()).absolutePath());
    d.gibodir = zel::FromQ(data + "/Gibo");
    d.advhdir = zel::FromQ(data + "/ADVH");
    d.separator = '/';
    return d;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Zel");
    QCoreApplication::setApplicationName("HvnZel");

    zel::QtSettingsBackend backend;
    zel::TZelStatus status(backend, Defaults(), [](const std::string& message) {
        QMessageBox::warning(nullptr, QString::fromUtf8("벨다"), zel::ToQ(message));
    });

    // The program's fixed-width Korean face and its dialog face.
    QFont::insertSubstitution(QString::fromUtf8("굴림체"), "NanumGothicCoding");
    QFont::insertSubstitution(QString::fromUtf8("굴림"), "NanumGothic");
    QApplication::setFont(zel::UiFont(9));

    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    std::string recordPath = zel::FromQ(args.join(' '));

    zel::QtPrompts prompts;
    zel::TZel4HvnForm form(status, prompts, recordPath);
    std::unique_ptr<zel::TestHook> hook = zel::TestHook::Install(form);
    form.show();
    return app.exec();
}
