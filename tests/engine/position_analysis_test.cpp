// Position analysis on board pictures: dead stones, territory grades, eye
// counting, capacity limits and hostile input.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/engine/EyeValuation.h"
#include "core/engine/PositionAnalysis.h"
#include "engine/BoardDiagram.h"

namespace zel {
namespace {

using test::PositionFromDiagram;

// The result as a picture: one signed digit per point, stones bracketed.
std::string ResultPicture(const TPositionAnalysis& a, const std::string& position)
{
    std::string out = "\n";
    for (int r = 1; r <= 19; ++r) {
        for (int c = 1; c <= 19; ++c) {
            const int v = a.Value(r, c);
            const char stone = position[static_cast<std::size_t>((r - 1) * 19 + c - 1)];
            out += stone == 'B' ? (a.IsDead(r, c) ? 'x' : 'X') : stone == 'W' ? (a.IsDead(r, c) ? 'o' : 'O') : ' ';
            out += v < 0 ? '-' : v > 0 ? '+' : ' ';
            out += static_cast<char>('0' + std::abs(v));
        }
        out += '\n';
    }
    return out;
}

struct Analysed {
    std::string position;
    TPositionAnalysis analysis;
};

std::unique_ptr<Analysed> Analyse(std::string_view picture, char side = 'B')
{
    auto a = std::make_unique<Analysed>();
    a->position = PositionFromDiagram(picture);
    a->analysis.ResetAnalysis();
    EXPECT_TRUE(a->analysis.AnalysePosition(a->position, side));
    return a;
}

std::string Swapped(const std::string& position)
{
    std::string out = position;
    for (char& c : out)
        c = c == 'B' ? 'W' : c == 'W' ? 'B' : c;
    return out;
}

// A black wall on the sixth line around the upper left corner.
constexpr const char* kBlackCorner = R"(
    . . . . . X . . . . . . . . . . . . .
    . . . . . X . . . . . . . . . . . . .
    . . . . . X . . . . . . . . . . . . .
    . . . . . X . . . . . . . . . . . . .
    . . . . . X . . . . . . . . . . . . .
    X X X X X X . . . . . . . . . . . . .
)";

TEST(PositionAnalysis, EmptyBoardIsNeutral)
{
    auto a = Analyse("");
    for (int v : a->analysis.AnalysisResult())
        ASSERT_EQ(v, 0);
    EXPECT_EQ(a->analysis.Passes(), 1);
}

TEST(PositionAnalysis, EnclosedCornerIsSecureTerritory)
{
    auto a = Analyse(kBlackCorner);
    SCOPED_TRACE(ResultPicture(a->analysis, a->position));
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 4; ++c)
            EXPECT_EQ(a->analysis.Value(r, c), 3) << r << "," << c;
    EXPECT_EQ(a->analysis.Value(6, 6), 4);
    // Far away nothing is claimed.
    EXPECT_EQ(a->analysis.Value(17, 17), 0);
}

// Random positions of every density: the result stays in range and the
// analysis does not care which colour is which.
TEST(PositionAnalysis, ColourSwapNegatesAndValuesStayInRange)
{
    std::mt19937 random(20261207);
    for (int game = 0; game < 40; ++game) {
        const int density = 10 + game * 2; // percent of the board covered
        std::string position(361, '-');
        for (char& c : position) {
            const int roll = static_cast<int>(random() % 100);
            c = roll < density / 2 ? 'B' : roll < density ? 'W' : '-';
        }
        const char side = game % 2 == 0 ? 'B' : 'W';
        auto a = std::make_unique<TPositionAnalysis>();
        auto b = std::make_unique<TPositionAnalysis>();
        ASSERT_TRUE(a->AnalysePosition(position, side));
        ASSERT_TRUE(b->AnalysePosition(Swapped(position), side == 'B' ? 'W' : 'B'));
        for (int r = 1; r <= 19; ++r)
            for (int c = 1; c <= 19; ++c) {
                ASSERT_GE(a->Value(r, c), -4);
                ASSERT_LE(a->Value(r, c), 4);
                ASSERT_EQ(a->Value(r, c), -b->Value(r, c))
                    << "game " << game << " at " << r << "," << c << ResultPicture(*a, position);
                ASSERT_EQ(a->IsDead(r, c), b->IsDead(r, c));
            }
    }
}

TEST(PositionAnalysis, DeadStoneInsideTheCornerGivesItsPointToTheOwner)
{
    const std::string picture =
        std::string(kBlackCorner).replace(std::string(kBlackCorner).find(". . . . . X", 60), 5, ". . O . .");
    for (char side : {'B', 'W'}) {
        auto a = Analyse(picture, side);
        SCOPED_TRACE(ResultPicture(a->analysis, a->position));
        ASSERT_EQ(a->position[2 * 19 + 2], 'W');
        EXPECT_TRUE(a->analysis.IsDead(3, 3)) << side;
        EXPECT_EQ(a->analysis.Value(3, 3), 3) << side;
        EXPECT_FALSE(a->analysis.IsDead(6, 6)) << side;
        EXPECT_EQ(a->analysis.Passes(), 2) << "the stone dies in the race stage";
    }
}

// Groups that die or live for tactical reasons and for their eyes.
TEST(PositionAnalysis, LifeAndDeath)
{
    struct Row {
        const char* what;
        const char* picture;
        int row, col;
        bool dead;
    };
    const Row rows[] = {
        {"a stone in a ladder", R"(
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . O O . . . . . . . .
            . . . . . . . . O X . . . . . . . . .
         )",
         9, 10, true},
        {"the same stone with a ladder breaker", R"(
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . O O . . . . . . . .
            . . . . . . . . O X . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . X . . . .
         )",
         9, 10, false},
        {"a white group with one liberty", R"(
            . . . . . . .
            . X X X . . .
            X O O O X . .
            . X X X . . .
         )",
         3, 2, true},
        {"two eyes in the corner", R"(
            . X O . . . .
            X X O . . . .
            . X O . . . .
            X X O . . . .
            O O O . . . .
         )",
         1, 2, false},
        {"a two-point eye is one eye", R"(
            . . X O . . .
            X X X O . . .
            O O O O . . .
         )",
         2, 1, true},
        // The corner's inside holds white's long links from the edge; they
        // are eye space all the same.
        {"a corner held inside the opponent's wall", R"(
            . . . O . X . . .
            . . . O . X . . .
            . . . O . X . . .
            O O O O . X . . .
            . . . . . X . . .
            X X X X X X . . .
         )",
         1, 4, false},
        {"a seven-point eye on the edge", R"(
            . . . . . . . X O . .
            X X X X X X X X O . .
            O O O O O O O O O . .
         )",
         2, 1, false},
        {"an invader inside a tight net", R"(
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . O . . O . . O . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . O . . X . . O . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . O . . O . . O . . . . . .
         )",
         10, 10, true},
        // Enclosed by the white shape but with room to run between the
        // stones: weak, not dead.
        {"an invader with room to run", R"(
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . O . . . O . . . O . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . O . . . X . . . O . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . O . . . O . . . O . . . . .
         )",
         10, 10, false},
    };
    for (const Row& r : rows) {
        for (char side : {'B', 'W'}) {
            auto a = Analyse(r.picture, side);
            SCOPED_TRACE(std::string(r.what) + ", " + side + " to move" + ResultPicture(a->analysis, a->position));
            const char stone = a->position[static_cast<std::size_t>((r.row - 1) * 19 + r.col - 1)];
            ASSERT_TRUE(stone == 'B' || stone == 'W');
            EXPECT_EQ(a->analysis.IsDead(r.row, r.col), r.dead);
            // A live stone reads as its own colour's stone, a dead one as the
            // other colour's ground.
            const int own = stone == 'B' ? 1 : -1;
            if (r.dead)
                EXPECT_LE(own * a->analysis.Value(r.row, r.col), 0);
            else
                EXPECT_EQ(a->analysis.Value(r.row, r.col), 4 * own);
        }
    }
}

TEST(PositionAnalysis, SevenPointEyeCountsAsTwoEyes)
{
    auto a = Analyse(R"(
        . . . . . . . X O . .
        X X X X X X X X O . .
        O O O O O O O O O . .
    )");
    const int number = a->analysis.GroupNumber(2, 1);
    ASSERT_GT(number, 0);
    const auto& group = a->analysis.Table(0).Records[static_cast<std::size_t>(number - 1)];
    EXPECT_EQ(group.EyePoints, 7);
    EXPECT_GE(group.EyeHalves, 4);
    EXPECT_FALSE(group.Weak);
}

// One-point eyes of black at the centre, on the edge and in the corner.
TEST(PositionAnalysis, OnePointEyes)
{
    struct Row {
        const char* what;
        const char* picture;
        int row, col;
        int halves;
        int key;
    };
    const Row rows[] = {
        {"all diagonals own", R"(
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . X X X . . . . . . . .
            . . . . . . . . X . X . . . . . . . .
            . . . . . . . . X X X . . . . . . . .
         )",
         10, 10, 2, 0},
        {"one opponent diagonal", R"(
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . O X X . . . . . . . .
            . . . . . . . . X . X . . . . . . . .
            . . . . . . . . X X X . . . . . . . .
         )",
         10, 10, 2, 0},
        {"two opponent diagonals", R"(
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . O X X . . . . . . . .
            . . . . . . . . X . X . . . . . . . .
            . . . . . . . . X X O . . . . . . . .
         )",
         10, 10, 0, 0},
        // The empty diagonal is a safe point for white (it joins the
        // stone below it): half an eye that hinges on it.
        {"one opponent diagonal, one open", R"(
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . . . . . . . . . . . .
            . . . . . . . . O X X . . . . . . . .
            . . . . . . . . X . X . . . . . . . .
            . . . . . . . . X X . . . . . . . . .
            . . . . . . . . . . . O . . . . . . .
         )",
         10, 10, 1, (11 - 1) * 19 + 11},
        {"edge, both diagonals own", R"(
            . . . . . . . . X . X . . . . . . . .
            . . . . . . . . X X X . . . . . . . .
         )",
         1, 10, 2, 0},
        {"edge, one opponent diagonal", R"(
            . . . . . . . . X . X . . . . . . . .
            . . . . . . . . O X X . . . . . . . .
         )",
         1, 10, 0, 0},
        {"corner, diagonal own", R"(
            . X . .
            X X . .
         )",
         1, 1, 2, 0},
        {"corner, diagonal opponent", R"(
            . X . .
            X O . .
         )",
         1, 1, 0, 0},
    };
    TCaptureReader reader;
    for (const Row& r : rows) {
        const TAnalysisMap position = PositionMap(PositionFromDiagram(r.picture));
        const TAnalysisMap eyes =
            BuildEyeSpaceMap(position, BuildShapeMap(position, 'B'), BuildShapeMap(position, 'W'), 'B');
        TEyeValuation valuation(reader, position, eyes, 'B');
        const TEyeValue v = valuation.OnePoint(r.row, r.col);
        EXPECT_EQ(v.Halves, r.halves) << r.what;
        EXPECT_EQ(v.Key, r.key) << r.what;
    }
}

// Black's eye space where chains joined by links share the enclosed points:
// the chain examined first reaches the others through the links.
TEST(PositionAnalysis, EyeSpaceAcrossLinks)
{
    struct Row {
        const char* what;
        const char* picture;
        int row, col;
        char expected;
    };
    const Row rows[] = {
        {"the cutting points of a diagonal in the corner", R"(
            X . X O .
            . X X O .
            X X O O .
         )",
         1, 2, 'I'},
        {"an eye between a jump's partners and a third chain", R"(
            . . . . . . .
            . X . X . . .
            . . X . X . .
            . X . X . . .
            . . . . . . .
         )",
         3, 4, 'I'},
        {"an open link encloses nothing", R"(
            . . . . . . .
            . X . X . . .
            . . . . . . .
         )",
         2, 3, 'O'},
    };
    for (const Row& r : rows) {
        const TAnalysisMap position = PositionMap(PositionFromDiagram(r.picture));
        const TAnalysisMap eyes =
            BuildEyeSpaceMap(position, BuildShapeMap(position, 'B'), BuildShapeMap(position, 'W'), 'B');
        EXPECT_EQ(eyes[r.row][r.col], r.expected) << r.what;
    }
}

// A lattice of 57 black stones, none linked to another (white stones stand
// between them), overflows black's table. The groups beyond it keep no
// record: they are neither weak nor dead, and the white stones touching them
// are judged without reading a record that is not there.
TEST(PositionAnalysis, MoreGroupsThanTheTableHolds)
{
    std::string position(361, '-');
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            const int v = (r + 2 * c) % 6;
            position[static_cast<std::size_t>((r - 1) * 19 + c - 1)] = v == 0 ? 'B' : v == 1 ? 'W' : '-';
        }
    for (char side : {'W', 'B'}) {
        auto a = std::make_unique<TPositionAnalysis>();
        ASSERT_TRUE(a->AnalysePosition(position, side));
        SCOPED_TRACE(ResultPicture(*a, position));
        const int black = side == 'B' ? 0 : 1;
        EXPECT_EQ(a->Table(black).Count, TPositionAnalysis::kMaxGroups);
        int unrecorded = 0;
        for (int r = 1; r <= 19; ++r)
            for (int c = 1; c <= 19; ++c) {
                const char stone = position[static_cast<std::size_t>((r - 1) * 19 + c - 1)];
                ASSERT_GE(a->Value(r, c), -4);
                ASSERT_LE(a->Value(r, c), 4);
                if (stone == 'B' && !a->IsDead(r, c) && a->GroupNumber(r, c) == 0) {
                    ++unrecorded;
                    EXPECT_EQ(a->Value(r, c), 4);
                }
            }
        EXPECT_GT(unrecorded, 0) << "the table did overflow";
    }
}

TEST(PositionAnalysis, HostileInputIsRefusedOrReadAsEmpty)
{
    TPositionAnalysis a;
    const std::string corner = PositionFromDiagram(kBlackCorner);
    ASSERT_TRUE(a.AnalysePosition(corner, 'B'));
    ASSERT_NE(a.Value(1, 1), 0);
    for (const std::string& bad : {corner.substr(0, 360), corner + "-", std::string()}) {
        EXPECT_FALSE(a.AnalysePosition(bad, 'B')) << bad.size();
        for (int v : a.AnalysisResult())
            ASSERT_EQ(v, 0) << "a refused position leaves nothing of the last one";
    }
    EXPECT_FALSE(a.AnalysePosition(corner, 'X'));
    EXPECT_FALSE(a.AnalysePosition(corner, '\0'));

    // Lower-case letters, dots, zeros and high bytes are empty points.
    std::string odd = corner;
    const char fillers[] = {'.', 'b', 'w', '\0', '\xB0', 'z'};
    for (std::size_t i = 0; i < odd.size(); ++i)
        if (odd[i] == '-')
            odd[i] = fillers[i % sizeof fillers];
    TPositionAnalysis b;
    ASSERT_TRUE(a.AnalysePosition(corner, 'W'));
    ASSERT_TRUE(b.AnalysePosition(odd, 'W'));
    EXPECT_EQ(a.AnalysisResult(), b.AnalysisResult());
}

// Two analyses in a row on one object: nothing of the first leaks into the
// second, with or without a reset in between.
TEST(PositionAnalysis, RepeatedAnalysesAreIndependent)
{
    const std::string withDead = PositionFromDiagram(R"(
        . . . . . . . . . O O . . . . . . . .
        . . . . . . . . O X . . . . . . . . .
    )");
    const std::string corner = PositionFromDiagram(kBlackCorner);
    TPositionAnalysis reused, fresh;
    ASSERT_TRUE(reused.AnalysePosition(withDead, 'B'));
    ASSERT_TRUE(reused.IsDead(2, 10));
    ASSERT_TRUE(reused.AnalysePosition(corner, 'B'));
    ASSERT_TRUE(fresh.AnalysePosition(corner, 'B'));
    EXPECT_EQ(reused.AnalysisResult(), fresh.AnalysisResult());
    EXPECT_FALSE(reused.IsDead(2, 10));
}

} // namespace
} // namespace zel
