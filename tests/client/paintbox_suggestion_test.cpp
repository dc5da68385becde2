#include <gtest/gtest.h>

#include "PaintBoxTestKit.h"
#include "QtTestApp.h"
#include "core/engine/GoSnapshot.h"

namespace zel {
namespace {

using test::CountInCell;

bool IsRed(const QColor& c)
{
    return c.red() > 180 && c.green() < 90 && c.blue() < 90;
}

class PaintBoxSuggestionTest : public ::testing::Test, private test::AppFirst {
protected:
    PaintBoxSuggestionTest()
    {
        box.LoadDefaultPictures();
        box.SetSzBoard(380);
    }
    TGoPaintBox box;
};

TEST_F(PaintBoxSuggestionTest, SuggestedStonesCarryTheCrossThroughRedrawsUntilCleared)
{
    box.DrawPoint(kBlack, 4, 4, 0);
    box.DrawPoint(kWhite, 5, 5, 0);
    box.ShowSuggestion({{4, 4}, {5, 5}, {9, 9}, {0, 3}, {25, 25}});
    EXPECT_GT(CountInCell(box, 4, 4, IsRed), 10);
    EXPECT_GT(CountInCell(box, 5, 5, IsRed), 10);
    // An empty point shows nothing; points off the board are dropped.
    EXPECT_EQ(CountInCell(box, 9, 9, IsRed), 0);
    EXPECT_FALSE(box.Suggested(0, 3));

    // A point redrawn (marked dead by a click) keeps the cross over its mark,
    // and so does a full repaint.
    box.DrawPoint(kWhite, 5, 5, kMarkBlackPoint);
    EXPECT_GT(CountInCell(box, 5, 5, IsRed), 10);
    box.RedrawAll();
    EXPECT_GT(CountInCell(box, 4, 4, IsRed), 10);

    // A stone taken off loses it; clearing removes every cross.
    box.DrawPoint(kEmpty, 4, 4, 0);
    EXPECT_EQ(CountInCell(box, 4, 4, IsRed), 0);
    box.ClearSuggestion();
    EXPECT_EQ(CountInCell(box, 5, 5, IsRed), 0);
    EXPECT_FALSE(box.Suggested(5, 5));
}

} // namespace
} // namespace zel
