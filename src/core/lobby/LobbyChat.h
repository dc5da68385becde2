#pragma once
#include <cstdint>
#include <string>

#include "core/lobby/FloodRing.h"
#include "core/lobby/MemoBook.h"

namespace zel {

class Clock;
class TCManager;
class TLobbyDispatch;
struct FriendsInfo;

// What the chat logic asks of the lobby window and the game session. Every
// call but GameCommand has a harmless default.
class LobbyChatPorts {
public:
    virtual ~LobbyChatPorts() = default;
    virtual void Print(const std::string& /*line*/) {}
    virtual void Notify(const std::string& /*text*/, int /*ms*/) {}
    virtual bool GameInProgress() const { return false; }
    virtual void CloseGameWindow() {}
    // "/x": stop the running game on the own user's word.
    virtual void StopGame(const std::string& /*word*/, const std::string& /*id*/) {}
    // "/clear" of a multi-game host: every board of the host given up.
    virtual void ClearMultiBoards() {}
    // "/c" and other game-session commands: a typed command the user expects
    // an answer to, so every lobby must handle it.
    virtual void GameCommand(const std::string& line) = 0;
    virtual bool NormalLobbyMode() const { return true; }
    // Flood: leave the server and end the program.
    virtual void Quit() {}
    // A memo window shows a line (index, line, freshly opened).
    virtual void ShowMemo(int /*window*/, const std::string& /*line*/, bool /*opened*/) {}
    virtual void HideMemo(int /*window*/) {}
    virtual void FriendCounterChanged(int /*online*/, int /*stored*/) {}
};

// The lobby's typed lines, commands, macros, memo routing and friend notices.
// Sending goes through the lobby dispatch; the time comes from the clock.
class TLobbyChat {
public:
    static constexpr std::size_t kMaxLine = 149;

    TLobbyChat(TLobbyDispatch& dispatch, FriendsInfo& friends, const Clock& clock, LobbyChatPorts& ports);

    // Connection life: a connection opens, the login is accepted, the lobby
    // has been entered (its contents are complete).
    void ConnectionOpened();
    void LoginAccepted();
    void LobbyEntered();
    void ConnectionClosed();
    bool Entered() const { return entered_; }

    // A line typed in the chat input.
    void ChatBoxLine(const std::string& line);
    // A line the game window sent to the room: it counts for the flood rule
    // like one typed here (a macro as "zel macro text").
    void RememberSent(const std::string& ringText) { Sent(ringText); }
    // Macro 1..9 with its text; the ring records a constant text.
    void SendMacro(const std::string& text);
    // A room member's chat block (">M<" + name + ">Z<") or its end (">R<"):
    // records or forgets the blocker and shows a notice. Malformed texts are ignored.
    void ChatBlockMarker(bool blocked, const std::string& text);
    // Enter in a memo window bound to `user`; true when the text was sent.
    bool SendMemoLine(int user, const std::string& text);
    // A received memo line from `sender`; true when a memo window took it.
    bool OfferMemo(int sender, const std::string& text);
    // Opens (or raises) the memo window of `user`; -1 when none is free.
    int OpenMemo(int user);
    void CloseMemo(int window, bool refuse);

    // User-model reports of arrivals and departures on the server.
    void UserJoined(int user);
    void UserLeft(int user);
    int FriendsOnline() const { return friendsOnline_; }

    // Command words, also run by the toolbar ("b").
    void RunCommand(const std::string& word, const std::string& argument);

    int memoTarget = -1;
    // The id of the own room's multi-game host, empty when there is none.
    std::string multiHost;
    // The blocker announced with ">Z<" in the own room, empty when none.
    std::string chatBlocker;

    TMemoBook& Memos() { return memos_; }
    const TFloodRing& Ring() const { return ring_; }

private:
    bool MayUseLine(std::size_t length) const;
    void Sent(const std::string& ringText);
    void Find(const std::string& id);
    void MemoCommand(const std::string& argument);
    void RecountFriends();
    TCManager* Model() const;
    std::string OwnTag() const; // own nickname + "(" + own id + ")"

    TLobbyDispatch& dispatch_;
    FriendsInfo& friends_;
    const Clock& clock_;
    LobbyChatPorts& ports_;
    TFloodRing ring_;
    TMemoBook memos_;
    std::int32_t lastSend_ = -1;
    bool entered_ = false;
    bool quitting_ = false;
    int friendsOnline_ = 0;
};

} // namespace zel
