#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zel {

// One played move or pass (X == 0) of a game, by colour (1 black, 2 white).
struct TPlayedMove {
    std::uint8_t Colour = 1;
    int X = 0;
    int Y = 0;
};

// A finished game as an estimator needs it: the handicap stones, the moves in
// order, the komi white receives (negative: black receives it), and the
// position they lead to (361 characters 'B', 'W', '-' row by row).
struct TDeadStoneQuery {
    std::vector<std::pair<int, int>> HandicapStones;
    std::vector<TPlayedMove> Moves;
    double Komi = 0;
    std::string Position;
    char SideToMove = 'B';
};

// Finds the dead stones of a finished game. May take long: callers run it
// away from any user interface thread; one call at a time per object.
class DeadStoneEstimator {
public:
    virtual ~DeadStoneEstimator() = default;
    // Fills dead with the points (x, y; 1..19) of the stones it finds dead;
    // false when it could give no answer.
    virtual bool DeadStones(const TDeadStoneQuery& query, std::vector<std::pair<int, int>>& dead) = 0;
    // What answers, for notices and measurements ("GNU Go", "형세 분석").
    virtual std::string Name() const = 0;
    // May be called from another thread: a call under way ends as soon as it
    // can, answering false, and so does every later one. Those that answer
    // quickly need do nothing.
    virtual void Cancel() {}
};

} // namespace zel
