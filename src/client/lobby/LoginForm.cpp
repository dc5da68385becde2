#include "client/lobby/LoginForm.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "client/base/FieldFilter.h"
#include "client/base/QtText.h"
#include "client/base/UiFont.h"
#include "core/base/Cp949.h"
#include "core/lobby/IdentityRules.h"

namespace zel {
namespace {

constexpr int kNoticeMs = 1000;

} // namespace

TLoginForm::TLoginForm(TZelStatus& status, Prompts& prompts, QWidget* parent)
    : QDialog(parent), status_(status), prompts_(prompts)
{
    setObjectName("TLoginForm");
    setWindowTitle(QString::fromUtf8("바둑서비스 접속"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(UiFont());

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 14, 16, 14);
    outer->setSpacing(12);

    auto* fields = new QFormLayout;
    fields->setHorizontalSpacing(12);
    fields->setVerticalSpacing(8);
    eUser = new QLineEdit(this);
    eUser->setObjectName("eUser");
    eUser->setMaxLength(16);
    eAlias = new QLineEdit(this);
    eAlias->setObjectName("eAlias");
    eAlias->setMaxLength(20);
    fields->addRow(QString::fromUtf8("아이디"), eUser);
    fields->addRow(QString::fromUtf8("이름(별명)"), eAlias);
    outer->addLayout(fields);

    gbNotice = new QGroupBox(QString::fromUtf8("공지사항"), this);
    gbNotice->setObjectName("gbNotice");
    auto* noticeLayout = new QVBoxLayout(gbNotice);
    noticeLayout->setContentsMargins(8, 8, 8, 8);
    mNotice = new QPlainTextEdit(gbNotice);
    mNotice->setObjectName("mNotice");
    mNotice->setReadOnly(true);
    mNotice->setFocusPolicy(Qt::NoFocus);
    mNotice->setMinimumSize(300, 110);
    noticeLayout->addWidget(mNotice);
    outer->addWidget(gbNotice, 1);

    btnOk = new QPushButton(QString::fromUtf8("확 인"), this);
    btnOk->setObjectName("btnOk");
    btnCancel = new QPushButton(QString::fromUtf8("취 소"), this);
    btnCancel->setObjectName("btnCancel");
    for (QPushButton* b : {btnOk, btnCancel}) {
        b->setMinimumWidth(84);
        b->setAutoDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    outer->addLayout(buttons);

    setTabOrder(eUser, eAlias);
    setTabOrder(eAlias, btnOk);
    setTabOrder(btnOk, btnCancel);

    eUser->installEventFilter(this);
    eAlias->installEventFilter(this);
    connect(eUser, &QLineEdit::textEdited, this, &TLoginForm::eUserEdited);
    connect(eAlias, &QLineEdit::textEdited, this, &TLoginForm::eAliasEdited);
    connect(btnOk, &QPushButton::clicked, this, &TLoginForm::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TLoginForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TLoginForm::FormShow()
{
    const LoginInfo& login = status_.login;
    eUser->setText(ToQ(login.userId));
    eAlias->setText(ToQ(login.nickname));

    mNotice->setPlainText(ToQ(status_.host.noteMsgs[0]).replace(QStringLiteral("\\!"), QStringLiteral("\n")));

    if (eAlias->text().isEmpty())
        eAlias->setFocus();
    else if (eUser->text().isEmpty())
        eUser->setFocus();
    else
        btnOk->setFocus();
}

bool TLoginForm::eventFilter(QObject* watched, QEvent* event)
{
    // Enter moves on to the next field instead of pressing a button.
    if (event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == eUser)
                eAlias->setFocus();
            else if (watched == eAlias)
                btnOk->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TLoginForm::eUserEdited(const QString& text)
{
    FilterTyping(eUser, text, FilterIdText, prompts_, kNoticeMs);
}

void TLoginForm::eAliasEdited(const QString& text)
{
    FilterTyping(eAlias, text, FilterNicknameText, prompts_, kNoticeMs);
}

void TLoginForm::btnOkClick()
{
    // The fields may hold stored text that never went through the typing filter.
    std::string id = FilterIdText(FromQ(eUser->text())).text;
    if (!IdLengthOk(id)) {
        prompts_.Alert(KS("아이디를 4 byte ~ 8 byte 로 입력하세요"));
        eUser->setFocus();
        return;
    }
    status_.login.userId = id;
    status_.login.nickname = FinalNickname(FilterNicknameText(FromQ(eAlias->text())).text, id);
    status_.Save(TZelStatus::kLogin);
    accept();
}

} // namespace zel
