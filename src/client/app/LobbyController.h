#pragma once
#include <QObject>
#include <array>
#include <memory>
#include <string>

#include "client/lobby/MemoForm.h"
#include "client/lobby/SearchForm.h"
#include "client/lobby/SlotView.h"
#include "client/lobby/UserView.h"
#include "core/lobby/LobbyChat.h"
#include "core/lobby/RoomNotices.h"
#include "core/net/LobbyDispatch.h"
#include "core/net/LobbyPorts.h"

#include <QPointer>

namespace zel {

class Clock;
class PacketSender;
class Prompts;
class TLobbyApp;
class TInviteForm;
class TLobbyGame;
class TLobbyLink;
class TMemoForm;
class TMyInfoForm;
class TSlotView;
class TUserView;
class TLobbyWidgets;
class TZelStatus;

// The lobby window's lobby side: it owns the chat logic over the lobby
// dispatch, feeds the room and user lists from the model's reports, runs the
// memo windows and the toolbar buttons that act on rooms and users.
class TLobbyController : public QObject,
                         public LobbyPorts,
                         public LobbyChatPorts,
                         private TSlotViewListener,
                         private TUserViewListener,
                         private TMemoListener,
                         private TSearchListener {
    Q_OBJECT
public:
    TLobbyController(TLobbyWidgets& form, TLobbyApp& app, TLobbyDispatch& dispatch, TZelStatus& status,
                     Prompts& prompts, const Clock& clock, TLobbyGame& game, TLobbyLink& link);
    ~TLobbyController() override;

    TLobbyDispatch& Dispatch() { return dispatch_; }
    TLobbyChat& Chat() { return chat_; }
    TRoomNotices& Notices() { return notices_; }
    TSlotView& Slots() { return *slots_; }
    TUserView& Users() { return *users_; }
    TMemoForm& Memo(int index) { return *memoForms_[static_cast<std::size_t>(index)]; }
    bool MemberView() const { return memberView_; }

    // Inputs from the window.
    void ChatLine(const std::string& line);
    void Macro(int index); // 1..9
    void MenuAction(int tag, int user) override;
    // A double click or Enter on a room, or "번방 입실": refused while the own
    // game runs; otherwise what the game window shows ends, a pending game
    // request stops waiting and 24030 goes out.
    void AskEnterRoom(int room);
    void TerminalClick(const std::string& text);
    void sbRoomClick();
    void sbMyRIClick();
    void sbFindClick();
    void sbInfoClick();
    void sbVGameClick();
    void PlacePanelClick();
    void UpdateButtons();

    // The connection's lobby is gone.
    void ConnectionCleanup();

    // LobbyPorts
    void Print(const std::string& line, bool lineFlag) override;
    void LobbyCreated() override;
    void LobbyReset() override;
    void LobbyEntered() override;
    void RefreshCounters() override;
    void RoomChanged(int kind, int room) override;
    void UserViewChanged(int kind, int user) override;
    void RoomViewChanged(int kind, int user) override;
    void InvitationOpened(const TInvitation& invitation) override;
    void InvitationChanged(const TInvitation& invitation) override;
    void InvitationClosed() override;
    bool OfferMemo(int sender, const std::string& text) override;
    void ChatBlockMarker(bool blocked, const std::string& text) override;

    // LobbyChatPorts
    void Print(const std::string& line) override;
    void Notify(const std::string& text, int ms) override;
    void Quit() override;
    void ShowMemo(int window, const std::string& line, bool opened) override;
    void HideMemo(int window) override;
    void FriendCounterChanged(int online, int stored) override;
    bool GameInProgress() const override;
    void CloseGameWindow() override;
    void StopGame(const std::string& word, const std::string& id) override;
    void ClearMultiBoards() override;
    void GameCommand(const std::string& line) override;

private:
    void OwnMoved();
    // A session is running and the game window shows it.
    bool GameWindowOpen() const override;
    bool IsFriend(const std::string& id) const override;
    bool SendMemo(int window, const std::string& text) override;
    void MemoClosed(int window, bool refuse) override;
    void SearchNotice(const std::string& text) override;
    // The own room's multi-game host, for the chat and the game session.
    void SyncMultiHost();
    void SetMemberView(bool on);
    void AskGame(int user);
    void RoomEvent(int kind, int room) override;

    TLobbyWidgets& form_;
    TLobbyApp& app_;
    TLobbyGame& game_;
    TLobbyLink& link_;
    TZelStatus& status_;
    Prompts& prompts_;
    const Clock& clock_;
    TLobbyDispatch& dispatch_;
    TLobbyChat chat_;
    TRoomNotices notices_;
    TSlotView* slots_;
    TUserView* users_;
    std::array<TMemoForm*, TMemoBook::kWindows> memoForms_{};
    TInviteForm* invitationForm_ = nullptr;
    QPointer<TMyInfoForm> infoForm_;
    bool memberView_ = false;
};

} // namespace zel
