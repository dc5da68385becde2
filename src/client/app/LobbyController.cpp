#include "client/app/LobbyController.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "client/app/LobbyWidgets.h"
#include "client/lobby/LobbyGame.h"
#include "client/base/QtText.h"
#include "client/lobby/MakeRoomForm.h"
#include "client/lobby/MemoForm.h"
#include "client/lobby/MyInfoForm.h"
#include "client/lobby/MyRIForm.h"
#include "client/lobby/SearchForm.h"
#include "client/lobby/SlotView.h"
#include "client/lobby/UserView.h"
#include "client/record/ZelGoMainForm.h"
#include "core/app/LobbyApp.h"
#include "core/app/LobbyLink.h"
#include "core/game/BBS2Zel.h"
#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/lobby/FriendList.h"
#include "core/lobby/ListRules.h"
#include "client/lobby/InviteForm.h"
#include "core/net/Invitation.h"
#include "core/net/PacketCodes.h"
#include "core/ports/Clock.h"
#include "core/ports/Prompts.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {
constexpr int kRoomPanel = 10;
constexpr int kPlacePanel = 11;
constexpr int kFriendPanel = 12;
constexpr int kRefusalMs = 1500;
} // namespace

TLobbyController::TLobbyController(TLobbyWidgets& form, TLobbyApp& app, TLobbyDispatch& dispatch, TZelStatus& status,
                                   Prompts& prompts, const Clock& clock, TLobbyGame& game, TLobbyLink& link)
    : QObject(&form.DialogParent()), form_(form), app_(app), game_(game), link_(link), status_(status),
      prompts_(prompts), clock_(clock), dispatch_(dispatch), chat_(dispatch_, status.friends, clock, *this),
      notices_(dispatch_, chat_, *this), slots_(new TSlotView(&form.RoomList(), *this, this)),
      users_(new TUserView(&form.UserList(), *this, this))
{
    for (int i = 0; i < TMemoBook::kWindows; ++i)
        memoForms_[static_cast<std::size_t>(i)] = new TMemoForm(i, *this, &form.DialogParent());
    FriendCounterChanged(0, 0);
}

TLobbyController::~TLobbyController() = default;

// --- inputs ----------------------------------------------------------------------

void TLobbyController::ChatLine(const std::string& line)
{
    chat_.ChatBoxLine(line);
}

void TLobbyController::Macro(int index)
{
    if (index < 1 || index > 9 || !app_.IsConnected() || !dispatch_.Model())
        return;
    chat_.SendMacro(status_.environment.messages[static_cast<std::size_t>(index)]);
}

void TLobbyController::AskGame(int u)
{
    TCManager* m = dispatch_.Model();
    if (!m || m->CheckUser(u) != 0)
        return;
    switch (ChooseGameAsk(*m, u)) {
    case GameAsk::WatchRequest:
        dispatch_.SendPrivate(false, u, ">A<GRR>B<" + m->ownNickname + "(" + m->ownId + ")");
        break;
    case GameAsk::GameRequest:
        dispatch_.SendGameRequest(u);
        break;
    case GameAsk::GameInvite:
        dispatch_.SendGameInvite(u);
        break;
    }
}

void TLobbyController::MenuAction(int tag, int u)
{
    TCManager* m = dispatch_.Model();
    if (!m || m->CheckUser(u) != 0)
        return;
    const UserRecord& user = m->User(u);
    switch (tag) {
    case 0:
        AskGame(u);
        break;
    case 1:
        if (m->currentRoom > 0)
            dispatch_.SendRoomInvite(u);
        else
            Print(KS("   ### 대기실에서 초대 하실 수 없습니다."));
        break;
    case 3:
        dispatch_.SendRecordsRequest(u);
        break;
    case 5:
        chat_.OpenMemo(u);
        break;
    case TSearchForm::kEnterRoomTag:
        AskEnterRoom(user.room);
        break;
    case 6:
        if (!RemoveFriend(status_.friends, user.id))
            AddFriend(status_.friends, user.id, user.nickname, user.rankText);
        status_.Save("Friends Info");
        chat_.LobbyEntered(); // recounts the friends online
        break;
    default:
        break;
    }
    form_.FocusChat();
}

void TLobbyController::TerminalClick(const std::string& text)
{
    TCManager* m = dispatch_.Model();
    if (!m || text.empty())
        return;
    std::string id = text;
    std::size_t open = text.find('('), close = text.find(')', open == std::string::npos ? 0 : open);
    if (open != std::string::npos && close != std::string::npos)
        id = text.substr(open + 1, close - open - 1);
    while (!id.empty() && id.back() == ' ')
        id.pop_back();
    while (!id.empty() && id.front() == ' ')
        id.erase(id.begin());
    if (id.empty() || id == m->ownId)
        return;
    int u = m->FindUser(id);
    if (u >= 0)
        AskGame(u);
}

void TLobbyController::RoomEvent(int kind, int room)
{
    TCManager* m = dispatch_.Model();
    if (!m)
        return;
    if (kind == TSlotView::Selected) {
        users_->Show(room);
        return;
    }
    if (app_.State() != TLobbyApp::Connected && !app_.IsConnected())
        return;
    AskEnterRoom(room);
}

void TLobbyController::AskEnterRoom(int room)
{
    TCManager* m = dispatch_.Model();
    if (!m || m->CheckRoom(room) != 0)
        return;
    if (GameInProgress()) {
        prompts_.Notify(KS("대국 중에는 다른 방에 들어갈 수 없습니다."), kRefusalMs);
        return;
    }
    CloseGameWindow();
    game_.CancelPendingRequest();
    dispatch_.EnterRoom(room);
}

bool TLobbyController::GameWindowOpen() const
{
    return game_.GameWindowOpen();
}

bool TLobbyController::IsFriend(const std::string& id) const
{
    return FindFriend(status_.friends, id) >= 0;
}

bool TLobbyController::SendMemo(int window, const std::string& text)
{
    return chat_.SendMemoLine(chat_.Memos().At(window).user, text);
}

void TLobbyController::MemoClosed(int window, bool refuse)
{
    chat_.CloseMemo(window, refuse);
}

void TLobbyController::SearchNotice(const std::string& text)
{
    prompts_.Notify(text, 1000);
}

void TLobbyController::SyncMultiHost()
{
    TCManager* m = dispatch_.Model();
    // The host is learnt when entering a room and kept while the room stays a multi-game room.
    if (!m || m->currentRoom <= 0 || m->CheckRoom(m->currentRoom) != 0 || m->Room(m->currentRoom).state != RoomMulti)
        chat_.multiHost.clear();
    else if (chat_.multiHost.empty() && m->CheckUser(m->Room(m->currentRoom).owner) == 0)
        chat_.multiHost = m->User(m->Room(m->currentRoom).owner).id;
    game_.SetMultiHost(chat_.multiHost);
}

void TLobbyController::sbRoomClick()
{
    TCManager* m = dispatch_.Model();
    if (!m || !app_.IsConnected() || GameInProgress())
        return;
    if (m->currentRoom > 0) {
        dispatch_.EnterRoom(0);
        return;
    }
    TMakeRoomForm dialog(&form_.DialogParent());
    dialog.eTitle->setText(ToQ(status_.environment.roomTitle));
    if (dialog.exec() != QDialog::Accepted)
        return;
    dispatch_.MakeRoom(dialog.Title(), dialog.Multi());
}

void TLobbyController::SetMemberView(bool on)
{
    memberView_ = on;
    form_.ShowMemberView(on);
    TCManager* m = dispatch_.Model();
    if (!m)
        return;
    if (on) {
        slots_->Select(m->currentRoom, false);
        users_->Show(m->currentRoom);
    } else {
        users_->Show(-1);
    }
}

void TLobbyController::sbMyRIClick()
{
    TCManager* m = dispatch_.Model();
    SetMemberView(!memberView_);
    if (!memberView_ || !m || m->currentRoom <= 0 || m->CheckRoom(m->currentRoom) != 0)
        return;
    int people = m->Room(m->currentRoom).people;
    if (people <= 0)
        return;
    if (!chat_.multiHost.empty()) {
        Print("");
        Print(notices_.HostLine());
        Print("");
    } else if (!form_.WatchEnabled() && people >= 2) {
        Print("");
        for (const std::string& line : notices_.MemberLines())
            Print(line);
        Print("");
    }
}

void TLobbyController::sbFindClick()
{
    TSearchForm dialog(status_, dispatch_, *this, &form_.DialogParent());
    dialog.exec();
}

void TLobbyController::sbInfoClick()
{
    if (infoForm_) {
        infoForm_->raise();
        return;
    }
    // Modal to the lobby window but not run in a nested loop: it also opens
    // at the first start, from the window's first show, and the start-up
    // connection waits until it has closed.
    auto* dialog = new TMyInfoForm(status_, prompts_, app_.IsConnected(), &form_.DialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    infoForm_ = dialog;
    connect(dialog, &QDialog::accepted, this, [this] { link_.ProfileChanged(); });
    connect(dialog, &QDialog::finished, this, [this] { app_.PersonalInfoClosed(); });
    dialog->open();
}

void TLobbyController::sbVGameClick()
{
    TCManager* m = dispatch_.Model();
    if (!m || m->CheckRoom(m->currentRoom) != 0)
        return;
    const RoomRecord& room = m->Room(m->currentRoom);
    std::string ask = ">A<GRR>B<" + m->ownNickname + "(" + m->ownId + ")";
    if (room.state == RoomReview) {
        chat_.RunCommand("b", {});
    } else if (room.state == RoomGame) {
        if (m->CheckUser(room.first) == 0)
            dispatch_.SendPrivate(false, room.first, ask);
    } else if (room.state == RoomMulti) {
        TMyRIForm dialog(*m, true, &form_.DialogParent());
        if (dialog.exec() == QDialog::Accepted && dialog.Chosen() >= 0)
            dispatch_.SendPrivate(false, dialog.Chosen(), ask);
    }
}

void TLobbyController::PlacePanelClick()
{
    TCManager* m = dispatch_.Model();
    if (!m)
        return;
    TMyRIForm dialog(*m, false, &form_.DialogParent());
    if (dialog.exec() == QDialog::Accepted && dialog.Chosen() >= 0)
        chat_.OpenMemo(dialog.Chosen());
}

void TLobbyController::UpdateButtons()
{
    if (infoForm_)
        infoForm_->SetConnected(app_.IsConnected());
    LobbyButtons b = ComputeButtons(
        dispatch_.Model(), app_.IsConnected(),
        !chat_.multiHost.empty() && dispatch_.Model() && chat_.multiHost == dispatch_.Model()->ownId, GameWindowOpen());
    form_.EnableButtons(b);
}

// --- connection ------------------------------------------------------------------

void TLobbyController::ConnectionCleanup()
{
    slots_->Attach(nullptr);
    users_->Attach(nullptr);
    notices_.Reset();
    chat_.ConnectionClosed();
    SyncMultiHost();
    memberView_ = false;
    InvitationClosed();
    UpdateButtons();
}

// --- LobbyPorts ------------------------------------------------------------------

void TLobbyController::Print(const std::string& line, bool lineFlag)
{
    if (lineFlag)
        form_.View().PrintLine("");
    form_.View().PrintLine(line);
    if (lineFlag)
        form_.View().PrintLine("");
}

void TLobbyController::LobbyCreated()
{
    if (infoForm_)
        infoForm_->SetConnected(true);
    chat_.ConnectionOpened();
    chat_.LoginAccepted();
    slots_->Attach(dispatch_.Model());
    users_->Attach(dispatch_.Model());
}

void TLobbyController::LobbyReset()
{
    form_.View().EnableRoom(false);
    slots_->Attach(dispatch_.Model());
}

void TLobbyController::LobbyEntered()
{
    form_.View().EnableRoom(true);
    slots_->Rebuild();
    TCManager* m = dispatch_.Model();
    users_->Show(memberView_ && m ? m->currentRoom : -1);
    if (m)
        slots_->Select(m->currentRoom, false);
    chat_.LobbyEntered();
    UpdateButtons();
}

void TLobbyController::RefreshCounters()
{
    const TCManager* m = dispatch_.Model();
    const int rooms = m ? m->OccupiedRooms() : 0;
    const std::int64_t people = m ? m->TotalPeople() : 0;
    form_.View().SetPanel(kRoomPanel,
                          KS("방 ") + std::to_string(rooms) + KS(" 개(") + std::to_string(people) + KS(" 명)"));
    FriendCounterChanged(chat_.FriendsOnline(), std::clamp(status_.friends.count, 0, FriendsInfo::kMax));
}

void TLobbyController::RoomChanged(int kind, int room)
{
    slots_->RoomChanged(kind, room);
    RefreshCounters();
    if (dispatch_.Model() && room == dispatch_.Model()->currentRoom && room > 0) {
        form_.View().SetPanel(kPlacePanel, notices_.PlaceText());
        SyncMultiHost();
        UpdateButtons();
    }
}

void TLobbyController::UserViewChanged(int kind, int user)
{
    users_->UserChanged(user);
    if (!chat_.Entered())
        return;
    if (kind == ChangeAdded)
        chat_.UserJoined(user);
    else if (kind == ChangeRemoved)
        chat_.UserLeft(user);
}

void TLobbyController::RoomViewChanged(int kind, int user)
{
    users_->UserChanged(user);
    notices_.RoomViewChanged(kind, user);
    if (notices_.OwnMovedSinceLastAsk())
        OwnMoved();
    else if (dispatch_.Model() && dispatch_.Model()->currentRoom > 0)
        form_.View().SetPanel(kPlacePanel, notices_.PlaceText());
}

void TLobbyController::OwnMoved()
{
    TCManager* m = dispatch_.Model();
    int room = m->currentRoom;
    // A new room: no request of ours waits there and no other game stays shown.
    game_.CancelPendingRequest();
    CloseGameWindow();
    SyncMultiHost();
    form_.View().SetPanel(kPlacePanel, notices_.PlaceText());
    form_.ShowInRoom(room > 0);
    UpdateButtons();
    SetMemberView(room > 0);
    slots_->Select(room, false);
}

void TLobbyController::InvitationOpened(const TInvitation& invitation)
{
    InvitationClosed();
    invitationForm_ = new TInviteForm(dispatch_, invitation, &form_.DialogParent());
    invitationForm_->show();
    invitationForm_->raise();
    invitationForm_->activateWindow();
}

void TLobbyController::InvitationChanged(const TInvitation& invitation)
{
    if (invitationForm_)
        invitationForm_->SetGauge(invitation.gauge);
}

void TLobbyController::InvitationClosed()
{
    if (!invitationForm_)
        return;
    TInviteForm* form = invitationForm_;
    invitationForm_ = nullptr;
    form->hide();
    form->deleteLater();
}

bool TLobbyController::OfferMemo(int sender, const std::string& text)
{
    return chat_.OfferMemo(sender, text);
}

void TLobbyController::ChatBlockMarker(bool blocked, const std::string& text)
{
    chat_.ChatBlockMarker(blocked, text);
}

// --- LobbyChatPorts --------------------------------------------------------------

void TLobbyController::Print(const std::string& line)
{
    form_.View().PrintLine(line);
}

void TLobbyController::Notify(const std::string& text, int ms)
{
    prompts_.Notify(text, ms);
}

void TLobbyController::Quit()
{
    app_.sbExitClick();
}

void TLobbyController::ShowMemo(int window, const std::string& line, bool opened)
{
    TMemoForm* form = memoForms_[static_cast<std::size_t>(window)];
    if (opened)
        form->Bind(chat_.Memos().At(window).nickname);
    if (!line.empty())
        form->AddLine(line);
    form->show();
    form->raise();
}

void TLobbyController::HideMemo(int window)
{
    TMemoForm* form = memoForms_[static_cast<std::size_t>(window)];
    form->hide(); // not a close by the user: nothing is reported
}

void TLobbyController::FriendCounterChanged(int online, int stored)
{
    form_.View().SetPanel(kFriendPanel, KS("친구(") + std::to_string(online) + "/" + std::to_string(stored) + ")");
}

bool TLobbyController::GameInProgress() const
{
    return game_.GameInProgress();
}

void TLobbyController::CloseGameWindow()
{
    game_.CloseGameWindow();
}

void TLobbyController::StopGame(const std::string& word, const std::string& id)
{
    game_.StopGame(word, id);
}

void TLobbyController::ClearMultiBoards()
{
    game_.ClearMultiBoards();
}

void TLobbyController::GameCommand(const std::string& line)
{
    game_.GameCommand(line);
}

} // namespace zel
