#pragma once
#include <string>
#include <vector>

namespace zel {

class LobbyChatPorts;
class TCManager;
class TLobbyChat;
class TLobbyDispatch;

// Which toolbar buttons may be pressed.
struct LobbyButtons {
    bool myRI = false, find = false, vGibo = false, study = false, vGame = false;
};
LobbyButtons ComputeButtons(const TCManager* m, bool connected, bool multiHost, bool gameWindowOpen);

// Turns the model's reports of users moving into the own room's notices:
// the own user's arrival in a room, other users coming and going, the
// multi-game host line and the status-bar place text.
class TRoomNotices {
public:
    TRoomNotices(TLobbyDispatch& dispatch, TLobbyChat& chat, LobbyChatPorts& ports);

    // A room-view report (kind 1 added, 2 removed) for user u.
    void RoomViewChanged(int kind, int u);
    // Forgets the room members (connection gone).
    void Reset();

    // "7 번 방(3 명)", or "대기실".
    std::string PlaceText() const;
    // "   ### host(id) rank님의 다면기 지도대국방 입니다!", or empty.
    std::string HostLine() const;
    // The member view's lines for a game-free room with two or more people.
    std::vector<std::string> MemberLines() const;
    bool OwnMovedSinceLastAsk();

private:
    void OwnMoved(int room);

    TLobbyDispatch& dispatch_;
    TLobbyChat& chat_;
    LobbyChatPorts& ports_;
    std::vector<char> inOwnRoom_;
    bool ownMoved_ = false;
};

} // namespace zel
