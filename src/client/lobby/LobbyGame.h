#pragma once
#include <string>

namespace zel {

// What the lobby asks of the game side of the program.
class TLobbyGame {
public:
    virtual ~TLobbyGame() = default;
    // A game (not a viewed record) is being played.
    virtual bool GameInProgress() const = 0;
    // The game window goes away unless a game is being played in it.
    virtual void CloseGameWindow() = 0;
    // "/x": the running game stops on the word of `word`'s sender `id`.
    virtual void StopGame(const std::string& word, const std::string& id) = 0;
};

} // namespace zel
