#pragma once
#include <string>

namespace zel {

// What the lobby asks of the game side of the program.
class TLobbyGame {
public:
    virtual ~TLobbyGame() = default;
    // A game (not a viewed record) is being played.
    virtual bool GameInProgress() const = 0;
    // The game window shows a session (a game, a watched game, a record).
    virtual bool GameWindowOpen() const = 0;
    // The game window goes away unless a game is being played in it; what it
    // shows ends with it.
    virtual void CloseGameWindow() = 0;
    // Our game request stops waiting for an answer.
    virtual void CancelPendingRequest() = 0;
    // The host of the multi-game room we are in; empty outside one.
    virtual void SetMultiHost(const std::string& id) = 0;
    // "/c": a game command typed in the lobby's chat.
    virtual void GameCommand(const std::string& line) = 0;
    // "/x": the running game stops on the word of `word`'s sender `id`.
    virtual void StopGame(const std::string& word, const std::string& id) = 0;
    // "/clear": the multi-game host gives up all its boards.
    virtual void ClearMultiBoards() = 0;
};

} // namespace zel
