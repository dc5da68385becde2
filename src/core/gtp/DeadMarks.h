#pragma once
#include <utility>
#include <vector>

#include "core/engine/GoSnapshot.h"

namespace zel {

class TGoBoard;

// Per point [Y][X]: a stone marked dead.
using TDeadGrid = std::array<std::array<bool, kBoardSize + 1>, kBoardSize + 1>;

// The stones board shows marked dead now.
TDeadGrid MarkedDead(const TGoBoard& board);

// The stones that marking the groups at points would mark on board once its
// present dead marks are taken away: one click per group, skipping stones a
// click before already marked, as TBBS2Zel::MarkDeadPoints does.
TDeadGrid MarkedByPoints(const TGoBoard& board, const std::vector<std::pair<int, int>>& points);

// The points of a grid, row by row.
std::vector<std::pair<int, int>> DeadPoints(const TDeadGrid& grid);

} // namespace zel
