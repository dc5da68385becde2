#include <gtest/gtest.h>

#include "core/engine/GoBoard.h"
#include "core/gtp/DeadMarks.h"

namespace zel {
namespace {

// Black walls off the left side at column 6; two lone white stones inside
// share its empty area, a third white stone stands on the open right side.
TGoBoard WalledBoard()
{
    TGoBoard board;
    for (int row = 1; row <= 19; ++row) {
        board.PlayAt(6, row);
        if (row == 1)
            board.PlayAt(3, 3);
        else if (row == 2)
            board.PlayAt(3, 12);
        else if (row == 3)
            board.PlayAt(15, 10);
        else
            board.PlayPass();
    }
    return board;
}

TEST(DeadMarks, StonesSharingAnAreaAreMarkedOnceNeverRevived)
{
    TGoBoard board = WalledBoard();
    ASSERT_EQ(board.Colour(3, 3), kWhite);
    ASSERT_EQ(board.Colour(3, 12), kWhite);
    // One click on (3, 3) already marks (3, 12); the second point must not
    // take it back.
    const TDeadGrid marked = MarkedByPoints(board, {{3, 3}, {3, 12}});
    EXPECT_TRUE(marked[3][3]);
    EXPECT_TRUE(marked[12][3]);
    EXPECT_FALSE(marked[10][15]);
    EXPECT_EQ(DeadPoints(marked).size(), 2u);
    // The board itself is left alone.
    EXPECT_TRUE(DeadPoints(MarkedDead(board)).empty());
}

TEST(DeadMarks, PresentMarksAndEmptyPointsDoNotCount)
{
    TGoBoard board = WalledBoard();
    // The opponent marked the right-side stone; the comparison starts from a
    // board without marks, and points without stones are skipped.
    board.ToggleDeadGroup(15, 10, false);
    ASSERT_TRUE(MarkedDead(board)[10][15]);
    const TDeadGrid marked = MarkedByPoints(board, {{3, 3}, {1, 1}, {0, 0}, {25, 3}});
    EXPECT_FALSE(marked[10][15]);
    EXPECT_TRUE(marked[3][3]);
    EXPECT_NE(marked, MarkedDead(board));
}

} // namespace
} // namespace zel
