#include "client/lobby/MyRIForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "client/base/QtText.h"
#include "core/net/CManager.h"

namespace zel {

TMyRIForm::TMyRIForm(const TCManager& m, bool players, QWidget* parent) : QDialog(parent)
{
    setObjectName("TMyRIForm");
    setWindowTitle(QString::fromUtf8("내방 참여자"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel(QString::fromUtf8(players ? "다면기 대국자" : "내방 참여자"), this));
    lbMembers = new QListWidget(this);
    lbMembers->setObjectName("lbMembers");
    column->addWidget(lbMembers, 1);
    if (m.CheckRoom(m.currentRoom) == 0) {
        for (int u : m.Members(m.currentRoom)) {
            const UserRecord& user = m.User(u);
            if (u == m.ownUser || (players && user.status != UserPlaying))
                continue;
            users_.push_back(u);
            lbMembers->addItem(ToQ(user.nickname + "(" + user.id + ") " + user.rankText));
        }
    }
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QString::fromUtf8("확 인"), QDialogButtonBox::AcceptRole)->setObjectName("btnOk");
    buttons->addButton(QString::fromUtf8("보기 마침"), QDialogButtonBox::RejectRole)->setObjectName("btnClose");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(lbMembers, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    column->addWidget(buttons);
}

int TMyRIForm::Chosen() const
{
    int row = lbMembers->currentRow();
    return row >= 0 && row < static_cast<int>(users_.size()) ? users_[static_cast<std::size_t>(row)] : -1;
}

} // namespace zel
