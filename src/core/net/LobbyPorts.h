#pragma once
#include <string>

namespace zel {

class TInvitation;

// What the lobby dispatch asks of the lobby window. Every call has a no-op
// default so that headless owners implement only what they show.
class LobbyPorts {
public:
    virtual ~LobbyPorts() = default;
    // A terminal line; with `lineFlag` it stands between blank lines.
    virtual void Print(const std::string& /*line*/, bool /*lineFlag*/) {}
    // The lobby model was created (21030): set up the room and user views.
    virtual void LobbyCreated() {}
    // 25010: disable the room button and empty the room list.
    virtual void LobbyReset() {}
    // 25020: enable the room button and the connection check, rebuild both views.
    virtual void LobbyEntered() {}
    // Room counter and friend counter need refreshing.
    virtual void RefreshCounters() {}
    // Model changes: (kind 1 added, 2 removed, 3 changed, index).
    virtual void RoomChanged(int /*kind*/, int /*room*/) {}
    virtual void UserViewChanged(int /*kind*/, int /*user*/) {}
    virtual void RoomViewChanged(int /*kind*/, int /*user*/) {}
    // An invitation dialog opens; it stays until the invitation closes.
    virtual void InvitationOpened(const TInvitation& /*invitation*/) {}
    // Once a second while open, and once more when it closes.
    virtual void InvitationChanged(const TInvitation& /*invitation*/) {}
    virtual void InvitationClosed() {}
    // A memo line from user `sender` offered to the memo windows; true when consumed.
    virtual bool OfferMemo(int /*sender*/, const std::string& /*text*/) { return false; }
    // A chat block ">M<" + name + ">Z<" (`blocked`) or its end ">M<" + name + ">R<".
    virtual void ChatBlockMarker(bool /*blocked*/, const std::string& /*text*/) {}
};

// What the lobby dispatch hands to the game session. No-op defaults: a
// client without a game session simply ignores game traffic.
class GameSessionPort {
public:
    virtual ~GameSessionPort() = default;
    // The server announced our own game request to the user with this id.
    virtual void RequestGame(const std::string& /*id*/) {}
    virtual bool IsBlackOfRunningGame() const { return false; }
    virtual bool HasMultiHost() const { return false; }
    // ">A<GRR>B<": send the game state to `user`, or to the room when negative.
    virtual void SendGameState(int /*user*/) {}
    // ">S<GRR>B<": send the multi-game status line privately to `user`.
    virtual void SendStatusLine(int /*user*/) {}
    // A marker text for the handler of `marker` ('C' state chunk, 'D', 'B',
    // 'T', 'X', 'Z', 'R' private-message markers, 'H' review title).
    virtual void HandleMarker(char /*marker*/, const std::string& /*text*/) {}
    // A private-message marker text ('D' catch-up question, 'B' catch-up
    // moves, 'X' version query) from user number `sender`, as the server
    // stamped it on the packet.
    virtual void PrivateMarker(char /*marker*/, int /*sender*/, const std::string& /*text*/) {}
    // ">M<" ... ">T<" (a byo-yomi change) from user number `sender`, as the
    // server stamped it on the packet.
    virtual void ByoyomiMarker(int /*sender*/, const std::string& /*text*/) {}
    // ">B<" with ">G<" or ">I<": the packet's argument (the sending user's
    // number) for that marker.
    virtual void HandleArgument(char /*marker*/, int /*argument*/) {}
    // Another member left the own room (not the waiting room).
    virtual void UserLeftRoom(const std::string& /*nickname*/, const std::string& /*id*/) {}
    // Another user came into the own room (not the waiting room).
    virtual void UserEnteredRoom(const std::string& /*nickname*/, const std::string& /*id*/) {}
    // The lobby snapshot after a login or re-login is complete (25020); the
    // own room is known again. No game session: nothing to check.
    virtual void LobbyEntered() {}
};

} // namespace zel
