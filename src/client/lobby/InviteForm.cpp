#include "client/lobby/InviteForm.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "client/base/QtText.h"
#include "client/base/UiFont.h"
#include "core/net/Invitation.h"
#include "core/net/LobbyDispatch.h"

namespace zel {

namespace {

// The refusal travels in a field of 31 bytes.
constexpr int kRefusalChars = 31;

} // namespace

TInviteForm::TInviteForm(TLobbyDispatch& dispatch, const TInvitation& invitation, QWidget* parent)
    : QDialog(parent), dispatch_(dispatch)
{
    setObjectName("TInviteForm");
    setWindowTitle(QString::fromUtf8("확인 하세요"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(UiFont());
    setModal(false);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 14, 16, 12);
    outer->setSpacing(8);
    lbFirst = new QLabel(ToQ(invitation.firstLine), this);
    lbFirst->setObjectName("lbFirst");
    lbSecond = new QLabel(ToQ(invitation.secondLine), this);
    lbSecond->setObjectName("lbSecond");
    for (QLabel* line : {lbFirst, lbSecond}) {
        line->setTextFormat(Qt::PlainText);
        outer->addWidget(line);
    }

    auto* sorry = new QLabel(QString::fromUtf8("미안해요"), this);
    outer->addWidget(sorry);
    eReject = new QLineEdit(ToQ(invitation.refusal), this);
    eReject->setObjectName("eReject");
    eReject->setMaxLength(kRefusalChars);
    eReject->setMinimumWidth(260);
    sorry->setBuddy(eReject);
    outer->addWidget(eReject);
    connect(eReject, &QLineEdit::textChanged, this, [this] { KeepRefusal(); });

    auto* gaugeRow = new QHBoxLayout;
    auto* gaugeLabel = new QLabel(QString::fromUtf8("자동거부"), this);
    pbAuto = new QProgressBar(this);
    pbAuto->setObjectName("pbAuto");
    pbAuto->setRange(0, TInvitation::kSeconds);
    pbAuto->setFormat(QString::fromUtf8("%v 초"));
    gaugeRow->addWidget(gaugeLabel);
    gaugeRow->addWidget(pbAuto, 1);
    outer->addLayout(gaugeRow);
    SetGauge(invitation.gauge);

    auto* buttons = new QHBoxLayout;
    btnAccept = new QPushButton(QString::fromUtf8("초대 응함"), this);
    btnAccept->setObjectName("btnAccept");
    btnRefuse = new QPushButton(QString::fromUtf8("초대 거부"), this);
    btnRefuse->setObjectName("btnRefuse");
    btnAccept->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(btnAccept);
    buttons->addWidget(btnRefuse);
    buttons->addStretch();
    outer->addLayout(buttons);
    connect(btnAccept, &QPushButton::clicked, this, &TInviteForm::AcceptClick);
    connect(btnRefuse, &QPushButton::clicked, this, &TInviteForm::RefuseClick);
}

void TInviteForm::SetGauge(int seconds)
{
    pbAuto->setValue(std::clamp(seconds, 0, TInvitation::kSeconds));
}

void TInviteForm::KeepRefusal()
{
    if (TInvitation* open = dispatch_.Invitation())
        open->refusal = FromQ(eReject->text());
}

void TInviteForm::AcceptClick()
{
    if (answered_)
        return;
    answered_ = true;
    dispatch_.AcceptInvitation();
}

void TInviteForm::RefuseClick()
{
    if (answered_)
        return;
    answered_ = true;
    KeepRefusal();
    dispatch_.RefuseInvitation();
}

void TInviteForm::reject()
{
    // Escape or the close box: the user does not go.
    RefuseClick();
    QDialog::reject();
}

} // namespace zel
