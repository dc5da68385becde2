#include <gtest/gtest.h>

#include "core/engine/GoBoard.h"
#include "core/gtp/GtpPosition.h"

namespace zel {
namespace {

TEST(GtpPosition, KomiFollowsTheSideThatGivesIt)
{
    struct Row {
        const char* side;
        int komi;
        double expected;
    };
    const Row rows[] = {{"A", 6, 6.5}, {"B", 6, -6.5}, {"A", 0, 0}, {"B", 0, 0}, {"A", -3, 0}, {"A", 1, 1.5}};
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(GtpKomi(r.side, r.komi), r.expected) << r.side << r.komi;
}

TEST(GtpPosition, HandicapGameWithPassesSetsUpAsPlayed)
{
    TGoBoard board;
    board.SetHandicap(4, 1);
    ASSERT_TRUE(board.PlayAt(3, 17)); // white at the lower left: C3
    ASSERT_TRUE(board.PlayPass());    // black passes
    ASSERT_TRUE(board.PlayAt(17, 1)); // white at the top: R19
    const TDeadStoneQuery q = GameQuery(board, -0.5);
    EXPECT_EQ(q.HandicapStones.size(), 4u);
    EXPECT_EQ(q.SideToMove, 'B');
    ASSERT_EQ(q.Position.size(), 361u);
    EXPECT_EQ(q.Position[(17 - 1) * 19 + (3 - 1)], 'W');
    EXPECT_EQ(q.Position[(16 - 1) * 19 + (4 - 1)], 'B');
    const std::vector<std::string> expected = {
        "boardsize 19", "clear_board", "komi -0.5", "set_free_handicap Q16 D4 Q4 D16",
        "play W C3",    "play B pass", "play W R19"};
    std::vector<std::string> got = GtpSetupCommands(q);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i].rfind("set_free_handicap", 0) == 0) {
            // The order of the stones does not matter; each corner once.
            for (const char* v : {"Q16", "D4", "Q4", "D16"})
                EXPECT_NE(got[i].find(v), std::string::npos) << got[i];
            continue;
        }
        EXPECT_EQ(got[i], expected[i]);
    }
}

TEST(GtpPosition, VertexListsFromEnginesAreCheckedWordByWord)
{
    struct Row {
        const char* text;
        bool ok;
        std::size_t count;
    };
    const Row rows[] = {
        {"", true, 0},    {"D4 Q16\nA1", true, 3}, {"  t19\t", true, 1}, {"D4 Z9", false, 0}, {"pass", false, 0},
        {"I5", false, 0}, {"A0", false, 0},        {"D4 D44", false, 0}, {"\n\n", true, 0},   {"d4", true, 1},
    };
    for (const Row& r : rows) {
        std::vector<std::pair<int, int>> points{{9, 9}};
        EXPECT_EQ(ReadGtpVertexList(r.text, points), r.ok) << r.text;
        if (r.ok) {
            EXPECT_EQ(points.size(), r.count) << r.text;
        }
    }
    std::vector<std::pair<int, int>> points;
    ASSERT_TRUE(ReadGtpVertexList("A19 T1", points));
    EXPECT_EQ(points[0], std::make_pair(1, 1));
    EXPECT_EQ(points[1], std::make_pair(19, 19));
}

TEST(GtpPosition, DeadDragonsAreTakenFromTheStatusLines)
{
    std::vector<std::pair<int, int>> dragons;
    ASSERT_TRUE(ReadGtpDeadDragons("E19: alive\nF15: dead\nC12: critical\nO8: dead\n", dragons));
    ASSERT_EQ(dragons.size(), 2u);
    EXPECT_EQ(dragons[0], std::make_pair(6, 5));
    EXPECT_EQ(dragons[1], std::make_pair(14, 12));
    EXPECT_TRUE(ReadGtpDeadDragons("", dragons));
    EXPECT_TRUE(dragons.empty());
    for (const char* bad : {"F15 dead", "Z9: dead", "pass: dead", ": dead"})
        EXPECT_FALSE(ReadGtpDeadDragons(bad, dragons)) << bad;
}

} // namespace
} // namespace zel
