#pragma once
#include <array>
#include <string>
#include <string_view>

namespace zel {

// A 19 x 19 board with a one-point border, indexed [row][column]: 1..19 on
// the board, 0 and 20 on the border.
using TAnalysisMap = std::array<std::array<char, 21>, 21>;

constexpr bool IsOnAnalysisBoard(int row, int col)
{
    return row >= 1 && row <= 19 && col >= 1 && col <= 19;
}

// A connection letter of a shape map; a lower letter is a stronger link.
constexpr bool IsConnection(char c)
{
    return c >= 'a' && c <= 'g';
}

constexpr char OtherColour(char colour)
{
    return colour == 'B' ? 'W' : 'B';
}

// The position as a map: 'B', 'W', '-' on the board (any other character and
// a missing one read as '-'), '#' on the border.
TAnalysisMap PositionMap(std::string_view position);
// The 361 characters of a position map, row by row.
std::string PositionText(const TAnalysisMap& position);

// Connection shape of one colour: its stones, with the border counting as its
// stones so that they connect to the edge; the other colour's stones; "z" on
// empty points without a link and "a".."g" on the empty points between two of
// its stones (diagonals, jumps, knight's moves, long jumps).
TAnalysisMap BuildShapeMap(const TAnalysisMap& position, char colour);

// The colour's shape map with "x" wherever the other colour's shape map holds
// a stone of its own or a connection letter; the border is "#".
TAnalysisMap BuildRegionMap(const TAnalysisMap& ownShape, const TAnalysisMap& otherShape, char colour);

// The colour's eye space: the stones of the position, "I" on empty regions of
// at most 100 points enclosed by the colour's chains (the border counting as
// one of them) and their links, "O" on links next to a chain that enclose
// nothing, "z" elsewhere; the border is "#".
TAnalysisMap BuildEyeSpaceMap(const TAnalysisMap& position, const TAnalysisMap& ownShape,
                              const TAnalysisMap& otherShape, char colour);

} // namespace zel
