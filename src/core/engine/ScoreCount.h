#pragma once
#include <array>
#include <string>
#include <string_view>

namespace zel {

// How a finished position is counted.
enum class TCountingRules {
    Territory, // empty points surrounded plus prisoners (dead stones among them)
    Area,      // empty points surrounded plus own stones left on the board
};

// Per point, row-major (index (row - 1) * 19 + column - 1): true for a stone
// taken off as dead before counting.
using TDeadMask = std::array<bool, 361>;

struct TScoreCount {
    double Black = 0;
    double White = 0; // komi included
    double Margin() const { return Black - White; }
};

// Counts position (361 characters 'B', 'W', '-' row by row; anything else and
// a missing character read as empty) after removing the dead stones. An empty
// region touching one colour only is its territory; dead stones become the
// other side's prisoners. blackCaptures: white stones black took in play.
TScoreCount CountPosition(std::string_view position, const TDeadMask& dead, int blackCaptures, int whiteCaptures,
                          TCountingRules rules, double komi);

// A margin as a result text: "B+3.5", "W+12", "0" for a tie.
std::string MarginText(double margin);

} // namespace zel
