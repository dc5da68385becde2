#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/engine/GoBoard.h"
#include "core/engine/ScoreCount.h"

namespace zel::bench {

// The final position of one counted game (an SGF with its result, komi and
// rules), replayed as a session's board records it: setup stones are black
// moves, a move of the colour not to move gets a pass of the other first.
struct TCountedGame {
    std::string Name;
    TGoBoard Board;
    std::string Position; // 361 of 'B', 'W', '-', row by row from the top
    char SideToMove = 'B';
    std::vector<std::pair<int, int>> Setup; // the handicap stones ("AB")
    int SetupMoves = 0;                     // board moves the setup took
    TCountingRules Rules = TCountingRules::Territory;
    double Komi = 0;
    double ResultMargin = 0; // black's margin, negative when white won
};

// The 361-letter position of `board`.
std::string PositionOf(const TGoBoard& board);
// $ZEL_COUNTED_GAMES, else the 349-game set.
std::filesystem::path CountedGamesDir();
// Every readable *.sgf of that directory in name order (the first `limit`
// when not 0); unreadable ones are named on stderr.
std::vector<TCountedGame> ReadCountedGames(std::size_t limit = 0);

} // namespace zel::bench
