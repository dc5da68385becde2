#include <gtest/gtest.h>

#include <climits>

#include "core/base/Cp949.h"
#include "core/engine/GoSnapshot.h"
#include "core/engine/LetterCodes.h"
#include "core/engine/PaintGeometry.h"
#include "core/engine/PaintMarks.h"

namespace zel {
namespace {

TEST(PaintGeometryTest, BoardSizeGivesCellAndHalf)
{
    TPaintGeometry g;
    EXPECT_EQ(g.Board(), 190);
    EXPECT_EQ(g.Cell(), 10);
    EXPECT_EQ(g.ControlSide(), 208);
    struct Row {
        int Size;
        bool Changed;
        int Board, Cell, Half;
    };
    const Row rows[] = {
        {0, false, 190, 10, 5},   {-19, false, 190, 10, 5}, {18, false, 190, 10, 5}, {190, false, 190, 10, 5},
        {380, true, 380, 20, 10}, {19, true, 19, 1, 0},     {208, true, 208, 10, 5}, {741, true, 741, 39, 19},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(g.SetBoard(row.Size), row.Changed) << row.Size;
        EXPECT_EQ(g.Board(), row.Board) << row.Size;
        EXPECT_EQ(g.Cell(), row.Cell) << row.Size;
        EXPECT_EQ(g.Half(), row.Half) << row.Size;
    }
}

TEST(PaintGeometryTest, PixelsMapToPointsWithoutFoldingNegativesOntoTheFirst)
{
    TPaintGeometry g; // 10-pixel cells
    const std::pair<int, int> rows[] = {{0, 1}, {9, 1}, {10, 2}, {189, 19}, {195, 20}, {-1, 0}, {-10, 0}, {-11, -1}};
    for (auto [pixel, point] : rows)
        EXPECT_EQ(g.PointAtPixel(pixel), point) << pixel;
}

TEST(PaintGeometryTest, GridLinesEndOnTheLastCentre)
{
    TPaintGeometry g;
    for (int size : {190, 209, 380, 399, 741, 760, 171}) {
        g.SetBoard(size);
        EXPECT_EQ(g.LineEnd(), g.CentreX(19) + 1) << size;
    }
}

TEST(PaintGeometryTest, SpriteSourcesStayInsideTheSheet)
{
    const struct {
        int Cell, Left, Top;
    } rows[] = {{10, 0, 0}, {19, 405, 0}, {20, 0, 45}, {29, 405, 45}, {30, 0, 90}, {39, 405, 90}};
    for (const auto& row : rows) {
        const TPixelRect r = TPaintGeometry::SpriteSourceFor(row.Cell);
        EXPECT_EQ(r.Left, row.Left) << row.Cell;
        EXPECT_EQ(r.Top, row.Top) << row.Cell;
        EXPECT_EQ(r.Side, row.Cell) << row.Cell;
    }
    for (int cell = 10; cell <= 39; ++cell) {
        const TPixelRect r = TPaintGeometry::SpriteSourceFor(cell);
        EXPECT_LE(r.Left + r.Side, TPaintGeometry::kSpriteSheetWidth) << cell;
        EXPECT_LE(r.Top + r.Side, TPaintGeometry::kSpriteSheetHeight) << cell;
    }
    EXPECT_EQ(TPaintGeometry::SpriteSourceFor(9).Side, 0);
    EXPECT_EQ(TPaintGeometry::SpriteSourceFor(40).Side, 0);
}

TEST(PaintGeometryTest, SmallFiguresStayInsideTheirCell)
{
    TPaintGeometry g;
    for (int cell = 1; cell <= 45; ++cell) {
        g.SetBoard(cell * 19);
        auto inside = [&](const std::vector<TPixelRun>& runs, int x, int y) {
            const TPixelRect r = g.PointRect(x, y);
            for (const TPixelRun& run : runs)
                if (run.X1 < r.Left || run.X2 >= r.Left + r.Side || run.Y < r.Top || run.Y >= r.Top + r.Side)
                    return false;
            return true;
        };
        if (cell >= 7) {
            EXPECT_TRUE(inside(g.StarPointRuns(4, 16), 4, 16)) << cell;
        }
        EXPECT_TRUE(inside(g.TriangleRuns(19, 19), 19, 19)) << cell;
    }

    g.SetBoard(114); // 6-pixel cells: no triangle
    EXPECT_TRUE(g.TriangleRuns(3, 3).empty());
    g.SetBoard(133); // 7-pixel cells: a single pixel
    EXPECT_EQ(g.TriangleRuns(3, 3).size(), 1u);

    g.SetBoard(380);
    const std::vector<TPixelRun> star = g.StarPointRuns(4, 4);
    ASSERT_EQ(star.size(), 5u);
    EXPECT_EQ(star[2].X2 - star[2].X1, 6);
    EXPECT_EQ(star[0].X2 - star[0].X1, 2);
    const std::vector<TPixelRun> triangle = g.TriangleRuns(4, 4);
    ASSERT_EQ(triangle.size(), 5u);
    for (std::size_t k = 1; k < triangle.size(); ++k) {
        EXPECT_EQ(triangle[k].Y, triangle[k - 1].Y + 1);
        EXPECT_EQ(triangle[k].X2 - triangle[k].X1, 2 * static_cast<int>(k));
    }
}

TEST(PaintGeometryTest, SquareHoverAndCoordinateSizes)
{
    TPaintGeometry g;
    g.SetBoard(380); // Half 10
    const int squares[] = {0, 2, 2, 2, 2, 2, 0};
    for (int s = 0; s <= 6; ++s)
        EXPECT_EQ(g.SquareExtent(s), squares[s]) << s;
    g.SetBoard(741); // Half 19
    EXPECT_EQ(g.SquareExtent(1), 3);
    EXPECT_EQ(g.SquareExtent(2), 4);
    EXPECT_EQ(g.SquareExtent(5), 5);

    const struct {
        int Cell, Hover, Font;
    } rows[] = {{9, 1, 6},  {10, 1, 6}, {14, 2, 6}, {15, 2, 7}, {16, 3, 7}, {20, 3, 7}, {21, 4, 7},
                {24, 4, 7}, {25, 4, 8}, {26, 5, 8}, {29, 5, 8}, {30, 5, 9}, {39, 5, 9}};
    for (const auto& row : rows) {
        g.SetBoard(row.Cell * 19);
        EXPECT_EQ(g.HoverRadius(), row.Hover) << row.Cell;
        EXPECT_EQ(g.CoordinateFontSize(), row.Font) << row.Cell;
    }
}

TEST(PaintMarksTest, MarkKindsAndTexts)
{
    const struct {
        int Mark;
        TMarkKind Kind;
        std::string Text;
    } rows[] = {
        {-1, TMarkKind::None, ""},
        {0, TMarkKind::None, ""},
        {1, TMarkKind::Number, "1"},
        {99, TMarkKind::Number, "99"},
        {100, TMarkKind::LongNumber, "100"},
        {500, TMarkKind::LongNumber, "500"},
        {501, TMarkKind::LastMove, ""},
        {502, TMarkKind::None, ""},
        {600, TMarkKind::Letter, "A"},
        {625, TMarkKind::Letter, "Z"},
        {626, TMarkKind::None, ""},
        {630, TMarkKind::Hangul, Utf8ToCp949("ㄱ")},
        {643, TMarkKind::Hangul, Utf8ToCp949("ㅎ")},
        {644, TMarkKind::None, ""},
        {650, TMarkKind::BlackPoint, ""},
        {651, TMarkKind::WhitePoint, ""},
        {652, TMarkKind::None, ""},
        {INT_MAX, TMarkKind::None, ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ClassifyMark(row.Mark), row.Kind) << row.Mark;
        EXPECT_EQ(MarkText(row.Mark), row.Text) << row.Mark;
    }
}

TEST(PaintMarksTest, LabelListCountsThenListsRowByRow)
{
    TPointValues marks{};
    EXPECT_EQ(LabelListText(marks), "AA");

    marks[PointIndex(19, 1)] = 601;
    marks[PointIndex(1, 2)] = 7; // a move number, not a label
    marks[PointIndex(2, 1)] = 650;
    marks[PointIndex(3, 19)] = 99999;
    EXPECT_EQ(LabelListText(marks), "AD" + std::string("CB") + NumToCode2(650) + "TB" + NumToCode2(601) + "DT" + "ZZ");

    marks.fill(600);
    const std::string all = LabelListText(marks);
    EXPECT_EQ(Code2ToNum(all), 361);
    EXPECT_EQ(all.size(), 2u + 361u * 4u);
}

TEST(PaintMarksTest, AnalysisSquaresAndCounts)
{
    const struct {
        const char* Name;
        std::uint8_t Colour;
        int Value;
        int Class;
        bool BlackFill;
        TAnalysisCounts Counts;
    } rows[] = {
        {"black stone white owns", kBlack, -3, 5, false, {0, 0, 0, 2}},
        {"white stone black owns", kWhite, 3, 5, true, {2, 0, 0, 0}},
        {"black stone weakly white's", kBlack, -2, 2, false, {0, 0, 1, 0}},
        {"black stone black's", kBlack, 4, 4, true, {1, 1, 0, 0}},
        {"empty faint", kEmpty, 1, 1, true, {0, 0, 0, 0}},
        {"empty sure white", kEmpty, -3, 3, false, {0, 0, 0, 1}},
        {"empty class above five", kEmpty, -6, 0, false, {0, 0, 0, 0}},
        {"empty lowest int", kEmpty, INT_MIN, 0, false, {0, 0, 0, 0}},
        {"nothing", kEmpty, 0, 0, false, {0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        TPointValues values{};
        TPointColours colours{};
        values[PointIndex(7, 8)] = row.Value;
        colours[PointIndex(7, 8)] = row.Colour;
        const TAnalysisOverlay overlay = BuildAnalysisOverlay(values, colours);
        const TAnalysisSquare& sq = overlay.Squares[PointIndex(7, 8)];
        EXPECT_EQ(sq.SizeClass, row.Class) << row.Name;
        if (row.Class > 0) {
            EXPECT_EQ(sq.BlackFill, row.BlackFill) << row.Name;
        }
        EXPECT_EQ(overlay.Counts.BlackSure, row.Counts.BlackSure) << row.Name;
        EXPECT_EQ(overlay.Counts.BlackMaybe, row.Counts.BlackMaybe) << row.Name;
        EXPECT_EQ(overlay.Counts.WhiteMaybe, row.Counts.WhiteMaybe) << row.Name;
        EXPECT_EQ(overlay.Counts.WhiteSure, row.Counts.WhiteSure) << row.Name;
    }
}

} // namespace
} // namespace zel
