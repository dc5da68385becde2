#include "client/lobby/UserView.h"

#include <QCursor>
#include <QHeaderView>
#include <QMenu>
#include <QTreeView>

#include "client/base/QtText.h"
#include "client/lobby/LobbyListModel.h"
#include "core/lobby/ListRules.h"
#include "core/net/CManager.h"

namespace zel {

class TUserModel : public TLobbyListModel {
public:
    using TLobbyListModel::TLobbyListModel;

protected:
    QString Text(int u, int column) const override
    {
        const UserRecord& user = Model()->User(u);
        if (user.room < 0)
            return {}; // users in no room are an empty row
        switch (column) {
        case UserColName:
            return ToQ(user.nickname + "(" + user.id + ")");
        case UserColLevel:
            return ToQ(user.rankText);
        default:
            return ToQ(UserStateWord(*Model(), u) + " " + UserFlags(user));
        }
    }
    std::uint32_t Colour(int u, int column) const override
    {
        const UserRecord& user = Model()->User(u);
        switch (column) {
        case UserColName:
            return user.invitations == 20 ? ListColors::Text : ListColors::NoInvite;
        case UserColLevel:
            return LevelColor(user.level);
        default:
            return ListColors::Text;
        }
    }
};

TUserView::TUserView(QTreeView* list, TUserViewListener& listener, QObject* parent)
    : QObject(parent), list_(list), listener_(listener),
      model_(new TUserModel({QString::fromUtf8("전체 대기자"), QString::fromUtf8("기력"), QString::fromUtf8("상태")},
                            this)),
      menu_(new QMenu(list))
{
    menu_->setObjectName("UserMenu");
    model_->ShowIn(list_);
    QHeaderView* header = list_->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->resizeSection(1, 36);
    header->resizeSection(2, 58);
    connect(header, &QHeaderView::sectionClicked, this, &TUserView::SortBy);
    connect(list_, &QTreeView::clicked, this, [this](const QModelIndex& i) { PopupFor(i.row()); });

    const char* captions[] = {"대국 신청", nullptr,     "전적 요청", nullptr,
                              "메모 설정", "친구 등록", nullptr,     "선택 취소"};
    int tags[] = {0, 2, 3, 4, 5, 6, 7, 8};
    QAction* invite = nullptr;
    for (int i = 0; i < 8; ++i) {
        if (i == 1) {
            invite = menu_->addAction(QString::fromUtf8("초대 하기"));
            invite->setData(1);
        }
        QAction* a = captions[i] ? menu_->addAction(QString::fromUtf8(captions[i])) : menu_->addSeparator();
        a->setData(tags[i]);
    }
    connect(menu_, &QMenu::triggered, this, [this](QAction* a) {
        if (menuUser_ >= 0)
            listener_.MenuAction(a->data().toInt(), menuUser_);
    });
}

TLobbyListModel* TUserView::ListModel() const
{
    return model_;
}
int TUserView::ShownCount() const
{
    return model_->rowCount();
}
int TUserView::UserAt(int row) const
{
    return model_->ItemAt(row);
}

void TUserView::Attach(TCManager* model)
{
    model_->Attach(model);
    room_ = -1;
}

bool TUserView::Belongs(int u) const
{
    const TCManager* m = model_->Model();
    const UserRecord& user = m->User(u);
    if (room_ >= 0)
        return user.room == room_;
    return user.room >= 0 && user.invitations == 20 && user.status < RoomGame;
}

void TUserView::Show(int room)
{
    TCManager* m = model_->Model();
    if (!m)
        return;
    room_ = m->CheckRoom(room) == 0 ? room : -1;
    QString caption = room_ < 0    ? QString::fromUtf8("전체 대기자")
                      : room_ == 0 ? QString::fromUtf8("대기실 참여자")
                                   : QString::number(room_) + QString::fromUtf8("번 방 참여자");
    model_->SetHeader(UserColName, caption);
    std::vector<int> users = ListedUsers(*m, room_);
    SortUsers(*m, users, UserColLevel, false);
    model_->Reset(std::move(users));
}

void TUserView::UserChanged(int u)
{
    TCManager* m = model_->Model();
    if (!m || m->CheckUser(u) != 0)
        return;
    int row = model_->RowOf(u);
    bool belongs = Belongs(u);
    if (row >= 0 && !belongs)
        model_->RemoveKeepOrder(row);
    else if (row < 0 && belongs)
        model_->Append(u);
    else if (row >= 0)
        model_->RowChanged(row);
}

void TUserView::SortBy(int column)
{
    model_->SortBy(column, SortUsers);
}

void TUserView::PrepareMenu(int u)
{
    const TCManager* m = model_->Model();
    const UserRecord& user = m->User(u);
    UserMenuState s = PrepareUserMenu(*m, u, listener_.GameWindowOpen(), listener_.IsFriend(user.id));
    for (QAction* a : menu_->actions()) {
        int tag = a->data().toInt();
        if (a->isSeparator())
            continue;
        a->setEnabled(s.enabled[static_cast<std::size_t>(tag)]);
        if (tag == 0)
            a->setText(QString::fromUtf8(s.watchCaption ? "관전 하기" : "대국 신청"));
        if (tag == 6)
            a->setText(QString::fromUtf8(s.friendCaption ? "친구 해제" : "친구 등록"));
    }
}

bool TUserView::Choose(int row, int tag)
{
    if (row < 0 || row >= ShownCount())
        return false;
    listener_.MenuAction(tag, UserAt(row));
    return true;
}

void TUserView::PopupFor(int row)
{
    const TCManager* m = model_->Model();
    int u = model_->ItemAt(row);
    if (!m || u < 0 || m->User(u).room < 0)
        return;
    menuUser_ = u;
    PrepareMenu(u);
    menu_->popup(QCursor::pos());
}

} // namespace zel
