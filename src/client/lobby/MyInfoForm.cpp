#include "client/lobby/MyInfoForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "client/base/FieldFilter.h"
#include "client/base/QtText.h"
#include "core/base/Cp949.h"
#include "core/lobby/IdentityRules.h"
#include "core/lobby/LevelRules.h"
#include "core/net/CManager.h"
#include "core/ports/Prompts.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

constexpr int kNoticeMs = 1000;

QString Counts(const std::array<std::int32_t, 4>& c)
{
    return QString("%1").arg(c[0], 3) + QString::fromUtf8(" 전 ") + QString("%1").arg(c[1], 3) +
           QString::fromUtf8(" 승 ") + QString("%1").arg(c[2], 3) + QString::fromUtf8(" 패 ") +
           QString("%1").arg(c[3], 3) + QString::fromUtf8(" 무");
}

} // namespace

TMyInfoForm::TMyInfoForm(TZelStatus& status, Prompts& prompts, bool connected, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), status_(status), prompts_(prompts)
{
    setObjectName("TMyInfoForm");
    setWindowTitle(QString::fromUtf8("개인정보"));
    resize(340, 300);
    const LoginInfo& login = status_.login;
    auto* column = new QVBoxLayout(this);
    pages = new QTabWidget(this);
    pages->setObjectName("pages");
    column->addWidget(pages, 1);

    auto* page1 = new QWidget(pages);
    auto* form = new QFormLayout(page1);
    eAlias = new QLineEdit(ToQ(login.nickname), page1);
    eAlias->setObjectName("eAlias");
    eUser = new QLineEdit(ToQ(login.userId), page1);
    eUser->setObjectName("eUser");
    ePass = new QLineEdit(login.savePass ? ToQ(login.password) : QString(), page1);
    ePass->setObjectName("ePass");
    ePass->setEchoMode(QLineEdit::Password);
    cbLevel = new QComboBox(page1);
    cbLevel->setObjectName("cbLevel");
    for (int i = 0; i < kAmateurEntries; ++i)
        cbLevel->addItem(ToQ(RankText(i, false)));
    LevelChoice choice = ChoiceFromLevel(login.level);
    cbLevel->setCurrentIndex(choice.position);
    cbSavePass = new QCheckBox(QString::fromUtf8("암호저장"), page1);
    cbSavePass->setObjectName("cbSavePass");
    cbSavePass->setChecked(login.savePass);
    cbPro = new QCheckBox(QString::fromUtf8("프로기사"), page1);
    cbPro->setObjectName("cbPro");
    cbPro->setChecked(choice.professional);
    cbInvite = new QCheckBox(QString::fromUtf8("초대허용"), page1);
    cbInvite->setObjectName("cbInvite");
    cbInvite->setChecked(login.inviteOn);
    cbProfile = new QCheckBox(QString::fromUtf8("전적공개"), page1);
    cbProfile->setObjectName("cbProfile");
    cbProfile->setChecked(login.profile);
    form->addRow(QString::fromUtf8("이름(별명)"), eAlias);
    form->addRow(QString::fromUtf8("아이디"), eUser);
    form->addRow(QString::fromUtf8("비밀번호"), ePass);
    form->addRow(QString::fromUtf8("기력"), cbLevel);
    for (QCheckBox* box : {cbSavePass, cbPro, cbInvite, cbProfile})
        form->addRow(box);
    pages->addTab(page1, QString::fromUtf8("연결정보"));
    SetConnected(connected);

    auto* page2 = new QWidget(pages);
    auto* records = new QFormLayout(page2);
    const char* bands[] = {"총 전적", "대 상수", "대 호선", "대 하수"};
    for (int i = 0; i < 4; ++i) {
        lRecords[i] = new QLabel(page2);
        lRecords[i]->setObjectName(QString("lRecords%1").arg(i));
        records->addRow(QString::fromUtf8(bands[i]), lRecords[i]);
    }
    pages->addTab(page2, QString::fromUtf8("대국성적"));

    lvFriends = new QTreeWidget(pages);
    lvFriends->setObjectName("lvFriends");
    lvFriends->setRootIsDecorated(false);
    lvFriends->setHeaderLabels(
        {QString::fromUtf8("별명(아이디)"), QString::fromUtf8("기력"), QString::fromUtf8("상대전적")});
    lvFriends->header()->setStretchLastSection(false);
    lvFriends->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lvFriends->setColumnWidth(1, 36);
    lvFriends->setColumnWidth(2, 76);
    pages->addTab(lvFriends, QString::fromUtf8("친구정보"));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QString::fromUtf8("확 인"), QDialogButtonBox::AcceptRole)->setObjectName("btnOk");
    buttons->addButton(QString::fromUtf8("취 소"), QDialogButtonBox::RejectRole)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &TMyInfoForm::btnOkClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);

    connect(eUser, &QLineEdit::textEdited, this, [this](const QString& t) { FilterId(eUser, t); });
    connect(ePass, &QLineEdit::textEdited, this, [this](const QString& t) { FilterId(ePass, t); });
    connect(eAlias, &QLineEdit::textEdited, this, &TMyInfoForm::AliasEdited);
    connect(cbPro, &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            cbLevel->setCurrentIndex(TickProfessional({cbLevel->currentIndex(), false}).position);
    });
    connect(cbLevel, &QComboBox::activated, this, [this](int position) {
        if (!ChoosePosition({position, cbPro->isChecked()}, position).professional)
            cbPro->setChecked(false);
    });
    for (QLineEdit* e : {eAlias, eUser})
        connect(e, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
    FillRecords();
    FillFriends();
}

void TMyInfoForm::SetConnected(bool connected)
{
    connected_ = connected;
    for (QLineEdit* field : {eAlias, eUser, ePass}) {
        field->setReadOnly(connected);
        field->setEnabled(!connected);
    }
    cbPro->setEnabled(!connected);
    if (connected) {
        eAlias->setText(ToQ(status_.login.nickname));
        eUser->setText(ToQ(status_.login.userId));
    }
}

void TMyInfoForm::FilterId(QLineEdit* field, const QString& text)
{
    FilterTyping(field, text, FilterIdText, prompts_, kNoticeMs);
}

void TMyInfoForm::AliasEdited(const QString& text)
{
    FilterTyping(eAlias, text, FilterNicknameText, prompts_, kNoticeMs);
}

void TMyInfoForm::FillRecords()
{
    for (int i = 0; i < 4; ++i)
        lRecords[i]->setText(Counts(status_.login.counters[static_cast<std::size_t>(i)]));
}

void TMyInfoForm::FillFriends()
{
    const FriendsInfo& f = status_.friends;
    int count = std::clamp(f.count, 0, FriendsInfo::kMax);
    for (int i = 0; i < count; ++i) {
        const FriendEntry& e = f.friends[static_cast<std::size_t>(i)];
        auto* item = new QTreeWidgetItem(lvFriends);
        item->setText(0, ToQ(e.nickname + "(" + e.id + ")"));
        item->setText(1, ToQ(e.rankText));
        item->setText(2, QString::number(e.wins) + QString::fromUtf8("승 ") + QString::number(e.losses) +
                             QString::fromUtf8("패"));
    }
}

int TMyInfoForm::ChosenLevel() const
{
    return LevelFromChoice({cbLevel->currentIndex(), cbPro->isChecked()});
}

void TMyInfoForm::btnOkClick()
{
    LoginInfo& login = status_.login;
    std::string id = connected_ ? login.userId : FilterIdText(FromQ(eUser->text())).text;
    if (!IdLengthOk(id)) {
        prompts_.Alert(KS("아이디를 4 byte ~ 8 byte 로 입력하세요"));
        eUser->setFocus();
        return;
    }
    bool records = login.counters[0][0] > 0;
    bool clear = false;
    if (id != login.userId && records) {
        if (!prompts_.Confirm(KS("아이디가 변경되면 성적이 지워집니다."), KS("확 인"), KS("취 소"))) {
            eUser->setText(ToQ(login.userId));
            return;
        }
        clear = true;
    }
    int level = ChosenLevel();
    if (level != login.level && records && !clear) {
        if (!prompts_.Confirm(KS("기력이 변경되면 성적이 지워집니다."), KS("확 인"), KS("취 소"))) {
            LevelChoice old = ChoiceFromLevel(login.level);
            cbLevel->setCurrentIndex(old.position);
            cbPro->setChecked(old.professional);
            return;
        }
        clear = true;
    }
    if (clear)
        login.counters = {};
    login.userId = id;
    if (!connected_) {
        login.nickname = FinalNickname(FilterNicknameText(FromQ(eAlias->text())).text, id);
        login.password = FilterIdText(FromQ(ePass->text())).text;
    }
    login.savePass = cbSavePass->isChecked();
    login.profile = cbProfile->isChecked();
    login.level = level;
    login.inviteOn = cbInvite->isChecked();
    status_.Save(TZelStatus::kLogin);
    accept();
}

} // namespace zel
