#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QStringList>

#include "client/app/NotifyForms.h"
#include "client/app/TestHook.h"
#include "client/app/Zel4HvnForm.h"
#include "client/app/ZelClient.h"
#include "client/base/QtText.h"
#include "client/base/UiFont.h"
#include "client/settings/ClientSettingsDefaults.h"
#include "client/settings/QtSettingsBackend.h"
#include "core/settings/ZelStatus.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Zel");
    QCoreApplication::setApplicationName("HvnZel");

    zel::QtSettingsBackend backend;
    zel::TZelStatus status(backend, zel::ClientSettingsDefaults(), [](const std::string& message) {
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
    zel::TZelClient client(status, prompts, recordPath);
    std::unique_ptr<zel::TestHook> hook = zel::TestHook::Install(client);
    client.Form().show();
    return app.exec();
}
