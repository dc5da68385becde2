#include <gtest/gtest.h>

#include "support/SessionDuo.h"
#include "core/base/Cp949.h"

namespace zel::test {
namespace {

// Black walls column 10, white column 12; white then drops two lone stones
// into black's side, in one empty area.
void PlayWallsAndInvaders(SessionDuo& duo)
{
    duo.StartGame();
    for (int row = 1; row <= 19; ++row) {
        duo.a.session.BoardClick(10, row);
        duo.Run(1000);
        if (row == 18) {
            duo.b.session.BoardClick(3, 3);
        } else if (row == 19) {
            duo.b.session.BoardClick(4, 15);
        } else {
            duo.b.session.BoardClick(12, row);
        }
        duo.Run(1000);
    }
}

TEST(SessionAutoMark, SuggestedPointsMarkAsClicksAndReachTheOpponent)
{
    SessionDuo duo;
    PlayWallsAndInvaders(duo);
    // Before marking starts the points change nothing.
    duo.a.session.MarkDeadPoints({{3, 3}});
    EXPECT_EQ(duo.a.session.Board().Mark(3, 3), 0);

    duo.a.session.Command(11);
    duo.Run(1000);
    ASSERT_EQ(duo.a.session.DeadMarker(), "alice");
    // Both invaders share one area: the first point marks both, the second
    // is skipped instead of reviving them; an empty point is skipped too.
    duo.a.session.MarkDeadPoints({{3, 3}, {4, 15}, {1, 1}});
    EXPECT_EQ(duo.a.session.Board().Mark(3, 3), kMarkBlackPoint);
    EXPECT_EQ(duo.a.session.Board().Mark(4, 15), kMarkBlackPoint);
    duo.a.session.Command(25);
    duo.Run(1000);
    // Bob was asked about the same list and its stones show marked there.
    EXPECT_EQ(duo.b.session.Board().Colour(3, 3), kEmpty);
    EXPECT_EQ(duo.b.session.Board().Colour(4, 15), kEmpty);
    duo.b.session.Command(25);
    duo.Run(2000);
    for (SessionSide* side : {&duo.a, &duo.b})
        EXPECT_FALSE(side->session.GameOpen());
    EXPECT_EQ(duo.a.session.Info().PResult, duo.b.session.Info().PResult);
}

TEST(SessionAutoMark, TheWaitingPlayerMarksNothing)
{
    SessionDuo duo;
    PlayWallsAndInvaders(duo);
    duo.a.session.Command(11);
    duo.Run(1000);
    ASSERT_EQ(duo.b.session.DeadMarkStage(), 1);
    duo.b.session.MarkDeadPoints({{3, 3}});
    EXPECT_EQ(duo.b.session.Board().Mark(3, 3), 0);
}

} // namespace
} // namespace zel::test
