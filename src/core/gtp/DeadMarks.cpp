#include "core/gtp/DeadMarks.h"

#include "core/engine/GoBoard.h"

namespace zel {

namespace {

bool IsDeadMark(int mark)
{
    return mark == kMarkBlackPoint || mark == kMarkWhitePoint;
}

} // namespace

TDeadGrid MarkedDead(const TGoBoard& board)
{
    TDeadGrid grid{};
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x)
            grid[y][x] = board.Colour(x, y) != kEmpty && IsDeadMark(board.Mark(x, y));
    return grid;
}

TDeadGrid MarkedByPoints(const TGoBoard& board, const std::vector<std::pair<int, int>>& points)
{
    TGoSnapshot snapshot;
    board.SaveSnapshot(snapshot);
    for (auto& row : snapshot.Marks)
        for (auto& mark : row)
            if (IsDeadMark(mark))
                mark = 0;
    TGoBoard scratch(snapshot, board.Numbering());
    for (const auto& [x, y] : points)
        if (scratch.Colour(x, y) != kEmpty && !IsDeadMark(scratch.Mark(x, y)))
            scratch.ToggleDeadGroup(x, y, false);
    return MarkedDead(scratch);
}

std::vector<std::pair<int, int>> DeadPoints(const TDeadGrid& grid)
{
    std::vector<std::pair<int, int>> points;
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x)
            if (grid[y][x])
                points.emplace_back(x, y);
    return points;
}

} // namespace zel
