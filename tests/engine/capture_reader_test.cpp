#include <gtest/gtest.h>

#include <string>

#include "core/engine/CaptureReader.h"
#include "engine/BoardDiagram.h"

namespace zel {
namespace {

using test::PositionFromDiagram;

// A white stone at (row 4, column 16) in a ladder that runs down and to the
// left across the open board; the white stone at the top right spoils the
// ladder towards the corner.
const char* const kLadder = ". . . . . . . . . . . . . . . . . . .\n"
                            ". . . . . . . . . . . . . . . . . . .\n"
                            ". . . . . . . . . . . . . . . X . O .\n"
                            ". . . . . . . . . . . . . . X O . . .\n"
                            ". . . . . . . . . . . . . . . . X . .\n";

std::string With(std::string position, std::initializer_list<std::tuple<int, int, char>> stones)
{
    for (auto [row, col, c] : stones)
        position[(row - 1) * 19 + (col - 1)] = c;
    return position;
}

TEST(CaptureReader, LibertyCountDecidesWithoutSearch)
{
    TCaptureReader reader;
    struct Row {
        const char* name;
        const char* picture;
        int row, col;
        bool capturable;
    } rows[] = {
        {"one liberty",
         ". O X\n"
         ". X .\n",
         1, 2, true},
        {"three liberties",
         ". . .\n"
         ". O X\n"
         ". . .\n",
         2, 2, false},
        {"empty point", ". . .\n", 1, 1, false},
        {"two-stone group in atari on the edge",
         "O O X\n"
         "X X .\n",
         1, 1, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(reader.IsCapturable(PositionFromDiagram(r.picture), r.row, r.col), r.capturable) << r.name;
    EXPECT_FALSE(reader.IsCapturable(PositionFromDiagram(". O X\n"), 0, 2));
    EXPECT_FALSE(reader.IsCapturable("", 20, 1));
}

TEST(CaptureReader, LaddersAndBreakers)
{
    TCaptureReader reader;
    const std::string ladder = PositionFromDiagram(kLadder);
    EXPECT_TRUE(reader.IsCapturable(ladder, 4, 16));
    EXPECT_GT(reader.DeepestLine(), 20); // read all the way to the edge
    // Reading leaves nothing behind: the same question gives the same answer.
    EXPECT_TRUE(reader.IsCapturable(ladder, 4, 16));

    struct Row {
        const char* name;
        int row, col;
        char stone;
        bool capturable;
    } rows[] = {
        {"white breaker on the path", 11, 10, 'W', false},
        {"white breaker further down", 15, 6, 'W', false},
        {"black stone on the path", 11, 10, 'B', true},
        {"white stone off the path", 4, 4, 'W', true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(reader.IsCapturable(With(ladder, {{r.row, r.col, r.stone}}), 4, 16), r.capturable) << r.name;
}

TEST(CaptureReader, CounterCaptureEscapes)
{
    TCaptureReader reader;
    const std::string ladder = PositionFromDiagram(kLadder);
    // The black stone above the ladder stone gets a second white neighbour:
    // still two liberties, the ladder works.
    const std::string touched = With(ladder, {{2, 16, 'W'}});
    EXPECT_TRUE(reader.IsCapturable(touched, 4, 16));
    // With a third neighbour it is in atari: white answers the chase by
    // capturing it and escapes.
    const std::string atari = With(touched, {{3, 15, 'W'}});
    EXPECT_FALSE(reader.IsCapturable(atari, 4, 16));
}

TEST(CaptureReader, UnsafeMoves)
{
    TCaptureReader reader;
    const std::string ladder = PositionFromDiagram(kLadder);
    struct Row {
        const char* name;
        int row, col;
        char colour;
        bool unsafe;
    } rows[] = {
        {"extending out of the ladder", 5, 16, 'W', false},
        {"open point", 10, 10, 'W', false},
        {"occupied point", 4, 16, 'B', true},
        {"black closing the ladder safely", 4, 17, 'B', false},
        {"lone stone in the corner", 1, 1, 'W', true},
    };
    const std::string corner = With(ladder, {{1, 2, 'B'}, {2, 2, 'B'}});
    for (const Row& r : rows)
        EXPECT_EQ(reader.IsUnsafeMove(ladder, r.row, r.col, r.colour), r.unsafe) << r.name;
    EXPECT_TRUE(reader.IsUnsafeMove(corner, 1, 1, 'W')); // suicide
    EXPECT_TRUE(reader.IsUnsafeMove(corner, 2, 1, 'W')); // self-atari, taken at once
}

TEST(CaptureReader, LibertyCounts)
{
    TCaptureReader reader;
    // A white row across the board: 38 liberties, listed up to 20.
    std::string position(361, '-');
    for (int col = 1; col <= 19; ++col)
        position[9 * 19 + col - 1] = 'W';
    TCaptureReader::TLiberties libs;
    EXPECT_EQ(reader.ListLiberties(position, 10, 19, libs), 20);
    for (int p : libs)
        EXPECT_TRUE(p >= 1 && p <= 361);
    EXPECT_EQ(reader.LibertiesAfter(position, 9 * 19 + 5, 100, 'W'), 38);
    EXPECT_EQ(reader.LibertiesAfter(position, 8 * 19 + 5, 100, 'W'), 38); // joins the row
    EXPECT_EQ(reader.LibertiesAfter(position, 8 * 19 + 5, 100, 'B'), 3);
    EXPECT_EQ(reader.LibertiesAfter(position, 9 * 19 + 5, 100, 'B'), 0); // holds the other colour
    EXPECT_EQ(reader.LibertiesAfter(position, 0, 5, 'B'), 0);
    EXPECT_EQ(reader.LibertiesAfter(position, 362, 5, 'B'), 0);
    EXPECT_EQ(reader.LibertiesAfter(position, 1, 5, 'B'), 2);
    EXPECT_EQ(reader.LibertiesAfter(position, 8 * 19 + 5, 3, 'W'), 3); // stops at the limit
    EXPECT_EQ(reader.ListLiberties(position, 1, 1, libs), 0);          // empty point
    // A short text reads as empty beyond its end.
    EXPECT_EQ(reader.ListLiberties("-W", 1, 2, libs), 3);
}

TEST(CaptureReader, TooDeepALineIsAbandoned)
{
    TCaptureReader shallow(10);
    const std::string ladder = PositionFromDiagram(kLadder);
    EXPECT_FALSE(shallow.IsCapturable(ladder, 4, 16));
    EXPECT_LE(shallow.DeepestLine(), 10);
    EXPECT_TRUE(TCaptureReader().IsCapturable(ladder, 4, 16));
}

} // namespace
} // namespace zel
