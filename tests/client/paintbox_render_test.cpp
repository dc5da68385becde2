#include <gtest/gtest.h>

#include <QPalette>

#include "PaintBoxTestKit.h"
#include "QtTestApp.h"
#include "core/engine/GoBoard.h"
#include "core/engine/LetterCodes.h"

namespace zel {
namespace {

using test::CellImage;
using test::CentreOf;
using test::CountInCell;

class PaintBoxRenderTest : public ::testing::Test, private test::AppFirst {
protected:
    PaintBoxRenderTest() { box.LoadDefaultPictures(); }
    TGoPaintBox box;
};

TEST_F(PaintBoxRenderTest, BoardSizeSetsCellAndControlSide)
{
    EXPECT_EQ(box.szBoard(), 190);
    EXPECT_EQ(box.Cell(), 10);
    EXPECT_EQ(box.Half(), 5);
    EXPECT_EQ(box.width(), 208);
    EXPECT_EQ(box.height(), 208);
    // Fonts are fitted from the start, so numbers show at the default size.
    EXPECT_GT(box.SizeNum2(), 0);

    for (int ignored : {0, -5, 18, 190}) {
        box.SetSzBoard(ignored);
        EXPECT_EQ(box.szBoard(), 190) << ignored;
        EXPECT_EQ(box.width(), 208) << ignored;
    }
    box.SetSzBoard(380);
    EXPECT_EQ(box.Cell(), 20);
    EXPECT_EQ(box.Half(), 10);
    EXPECT_EQ(box.width(), 398);
    EXPECT_EQ(box.Canvas().size(), QSize(398, 398));
    const int num2At20 = box.SizeNum2();
    box.SetSzBoard(760);
    EXPECT_GT(box.SizeNum2(), num2At20);
}

TEST_F(PaintBoxRenderTest, SpritesForCellsTenToThirtyNinePlainCirclesOutside)
{
    struct Row {
        int Board;
        bool Sprite;
    };
    for (const Row& row : {Row{171, false}, Row{190, true}, Row{380, true}, Row{741, true}, Row{760, false}}) {
        box.SetSzBoard(row.Board);
        box.DrawPoint(kBlack, 4, 4, 0);
        box.DrawPoint(kWhite, 5, 4, 0);
        const QColor black = CentreOf(box, 4, 4);
        const QColor white = CentreOf(box, 5, 4);
        if (row.Sprite) {
            // Shaded stones: dark and light, never the flat extremes.
            EXPECT_TRUE(test::IsDark(black) && black != QColor(Qt::black)) << row.Board << black.name().toStdString();
            EXPECT_TRUE(test::IsLight(white) && white != QColor(Qt::white)) << row.Board << white.name().toStdString();
        } else {
            EXPECT_EQ(black, QColor(Qt::black)) << row.Board;
            EXPECT_EQ(white, QColor(Qt::white)) << row.Board;
        }
    }
}

TEST_F(PaintBoxRenderTest, MissingPicturesStillShowStonesAndEmptyPoints)
{
    TGoPaintBox bare;
    bare.SetSzBoard(380);
    bare.DrawPoint(kBlack, 3, 3, 0);
    EXPECT_EQ(CentreOf(bare, 3, 3), QColor(Qt::black));
    // Taking the stone away leaves no trace of it off the grid lines.
    bare.DrawPoint(kEmpty, 3, 3, 0);
    EXPECT_EQ(test::PixelAt(bare, 2 * 20 + 3, 2 * 20 + 3).alpha(), 0);
    EXPECT_EQ(CentreOf(bare, 3, 3), QColor(Qt::black)); // the grid crossing
}

TEST_F(PaintBoxRenderTest, DrawingAStoneTwiceLooksTheSame)
{
    box.SetSzBoard(380);
    box.DrawPoint(kWhite, 7, 7, 0);
    const QImage once = CellImage(box, 7, 7);
    box.DrawPoint(kWhite, 7, 7, 0);
    EXPECT_EQ(CellImage(box, 7, 7), once);
    box.DrawPoint(kBlack, 7, 7, 12);
    box.DrawPoint(kWhite, 7, 7, 0);
    EXPECT_EQ(CellImage(box, 7, 7), once);
}

TEST_F(PaintBoxRenderTest, NumbersTakeTheColourOppositeTheirPoint)
{
    box.SetSzBoard(380);
    box.DrawPoint(kWhite, 5, 5, 0);
    const int darkOnPlainWhite = CountInCell(box, 5, 5, test::IsDark);
    box.DrawPoint(kWhite, 5, 5, 100);
    EXPECT_GT(CountInCell(box, 5, 5, test::IsDark), darkOnPlainWhite + 5);
    EXPECT_EQ(CountInCell(box, 5, 5, test::IsNavy), 0);

    box.DrawPoint(kBlack, 6, 5, 0);
    const int lightOnPlainBlack = CountInCell(box, 6, 5, test::IsLight);
    box.DrawPoint(kBlack, 6, 5, 37);
    EXPECT_GT(CountInCell(box, 6, 5, test::IsLight), lightOnPlainBlack + 5);

    // On an empty point: navy over a clean texture cell, grid lines gone.
    box.DrawPoint(kEmpty, 8, 5, 99);
    EXPECT_GT(CountInCell(box, 8, 5, test::IsNavy), 5);
    const int left = 7 * 20;
    const int centreRow = 4 * 20 + 10;
    EXPECT_NE(test::PixelAt(box, left, centreRow), QColor(Qt::black));
    EXPECT_NE(test::PixelAt(box, left + 10, 4 * 20 + 1), QColor(Qt::black));
    EXPECT_EQ(box.Mark(8, 5), 99);
}

TEST_F(PaintBoxRenderTest, LastMoveTriangle)
{
    box.SetSzBoard(380);
    box.DrawPoint(kBlack, 10, 10, kMarkLastMove);
    EXPECT_GT(CountInCell(box, 10, 10, test::IsYellow), 5);
    box.DrawPoint(kWhite, 11, 10, kMarkLastMove);
    EXPECT_GT(CountInCell(box, 11, 10, test::IsNavy), 5);

    // Six-pixel cells have no room for it.
    box.SetSzBoard(114);
    ASSERT_EQ(box.Cell(), 6);
    box.DrawPoint(kBlack, 2, 2, 0);
    const QImage plain = CellImage(box, 2, 2);
    box.DrawPoint(kBlack, 2, 2, kMarkLastMove);
    EXPECT_EQ(CellImage(box, 2, 2), plain);
}

TEST_F(PaintBoxRenderTest, LabelsAreListedAndRemoved)
{
    EXPECT_EQ(box.TakeLabels(), "AA");

    box.SetSzBoard(380);
    box.DrawPoint(kEmpty, 3, 2, 600);
    box.DrawPoint(kBlack, 1, 5, 625);
    box.DrawPoint(kWhite, 2, 2, 7);
    ASSERT_GT(CountInCell(box, 3, 2, test::IsNavy), 3);
    EXPECT_EQ(box.TakeLabels(), "AC" + std::string("DC") + NumToCode2(600) + "BF" + NumToCode2(625));
    EXPECT_EQ(box.Mark(3, 2), 0);
    EXPECT_EQ(box.Mark(1, 5), 0);
    EXPECT_EQ(box.Mark(2, 2), 7); // numbers are not labels
    EXPECT_EQ(CountInCell(box, 3, 2, test::IsNavy), 0);
    EXPECT_EQ(box.TakeLabels(), "AA");
}

TEST_F(PaintBoxRenderTest, MarkChangesLeaveNoStaleText)
{
    box.SetSzBoard(380);
    box.DrawPoint(kEmpty, 4, 4, 0);
    const QImage clean = CellImage(box, 4, 4);
    box.DrawPoint(kEmpty, 4, 4, 605);
    box.ClearMarks();
    EXPECT_EQ(CellImage(box, 4, 4), clean);

    box.DrawPoint(kBlack, 5, 5, 0);
    const QImage stone = CellImage(box, 5, 5);
    box.DrawPoint(kBlack, 5, 5, 12);
    TPointValues marks{};
    marks[PointIndex(5, 5)] = 0;
    box.SetMarks(marks);
    EXPECT_EQ(CellImage(box, 5, 5), stone);
    marks[PointIndex(5, 5)] = 8;
    box.SetMarks(marks);
    EXPECT_EQ(box.Mark(5, 5), 8);
    box.DrawMark(5, 5, true, 0);
    EXPECT_EQ(box.Mark(5, 5), 0);
    EXPECT_EQ(CellImage(box, 5, 5), stone);
}

TEST_F(PaintBoxRenderTest, ColoursInAndOut)
{
    TPointColours colours{};
    colours[PointIndex(1, 1)] = kBlack;
    colours[PointIndex(19, 19)] = kWhite;
    colours[PointIndex(10, 1)] = 7; // not a colour: shown and kept as empty
    box.DrawPoint(kBlack, 2, 2, 44);
    box.DrawPoint(kBlack, 0, 3, 0);
    box.DrawPoint(kBlack, 20, 3, 0);
    box.SetColours(colours);
    TPointColours out{};
    box.GetColours(out);
    EXPECT_EQ(out[PointIndex(1, 1)], kBlack);
    EXPECT_EQ(out[PointIndex(19, 19)], kWhite);
    EXPECT_EQ(out[PointIndex(10, 1)], kEmpty);
    EXPECT_EQ(out[PointIndex(2, 2)], kEmpty);
    EXPECT_EQ(box.Mark(2, 2), 0);
    EXPECT_TRUE(test::IsDark(CentreOf(box, 1, 1)));
}

TEST_F(PaintBoxRenderTest, AnalysisOverlayAndItsCounts)
{
    box.SetSzBoard(380);
    TPointColours colours{};
    colours[PointIndex(3, 3)] = kBlack;
    box.SetColours(colours);
    TPointValues values{};
    values[PointIndex(3, 3)] = -3; // a black stone that white owns
    values[PointIndex(5, 5)] = 4;
    const TAnalysisCounts counts = box.ShowAnalysis(values);
    EXPECT_EQ(counts.WhiteSure, 2);
    EXPECT_EQ(counts.BlackSure, 1);
    EXPECT_EQ(counts.BlackMaybe, 1);
    EXPECT_EQ(CentreOf(box, 3, 3), QColor(Qt::white));
    const int offGrid = 4 * 20 + 10 + 1;
    EXPECT_EQ(test::PixelAt(box, offGrid, offGrid), QColor(Qt::black));
    box.RedrawAll(); // the overlay survives a full repaint
    EXPECT_EQ(CentreOf(box, 3, 3), QColor(Qt::white));
    box.HideAnalysis();
    EXPECT_TRUE(test::IsDark(CentreOf(box, 3, 3)));
    EXPECT_NE(test::PixelAt(box, offGrid, offGrid), QColor(Qt::black));
}

TEST_F(PaintBoxRenderTest, FollowsABoardThroughItsPointChanges)
{
    box.SetSzBoard(380);
    TGoBoard board;
    board.OnPointChange = [this](TGoBoard&, int x, int y, int mark, std::uint8_t colour) {
        box.DrawPoint(colour, x, y, mark);
    };
    // Black captures the white stone at (2, 1) in the corner, then undoes it.
    for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {3, 1}, {10, 10}, {2, 2}})
        board.PlayAt(x, y);
    auto agrees = [&] {
        for (int y = 1; y <= 19; ++y)
            for (int x = 1; x <= 19; ++x)
                if (box.Colour(x, y) != board.Colour(x, y) || box.Mark(x, y) != board.Mark(x, y))
                    return false;
        return true;
    };
    EXPECT_EQ(box.Colour(2, 1), kEmpty);
    EXPECT_TRUE(agrees());
    EXPECT_GT(CountInCell(box, 2, 2, test::IsYellow), 0); // the last move
    board.Undo();
    EXPECT_EQ(box.Colour(2, 1), kWhite);
    EXPECT_TRUE(agrees());
    EXPECT_TRUE(test::IsLight(CentreOf(box, 2, 1)));
}

// A game position with every kind of mark, in a dark panel like the game
// window's, saved for a look by eye.
void ShowFinePosition(TGoPaintBox& box)
{
    const char* picture[] = {
        "...................", "...................", "...XO...........O..", "..XOO..X...O.......",
        "..XO.........X.....", "...................", "...................", "...................",
        "..X................", "...................", "...................", "...................",
        "...................", "...................", "..O................", "...O...........X...",
        "...X.X.............", "...................", "...................",
    };
    TPointColours colours{};
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            colours[PointIndex(x, y)] = picture[y - 1][x - 1] == 'X'   ? kBlack
                                        : picture[y - 1][x - 1] == 'O' ? kWhite
                                                                       : 0;
    box.SetColours(colours);
    box.DrawMark(4, 3, false, 1);
    box.DrawMark(5, 3, false, 2);
    box.DrawMark(3, 4, false, 23);
    box.DrawMark(4, 4, false, 118);
    box.DrawMark(5, 4, false, 9);
    box.DrawMark(8, 4, false, kMarkLastMove);
    box.DrawMark(12, 4, false, kMarkLastMove);
    box.DrawMark(10, 7, false, 600);
    box.DrawMark(11, 8, false, 601);
    box.DrawMark(12, 9, false, 602);
    box.DrawMark(14, 5, false, 603);
    box.DrawMark(6, 9, false, 630);
    box.DrawMark(3, 9, false, 250);
    for (int x = 16; x <= 19; ++x)
        for (int y = 13; y <= 15; ++y)
            box.DrawMark(x, y, false, kMarkBlackPoint);
    for (int x = 1; x <= 3; ++x)
        box.DrawMark(x, 18, false, kMarkWhitePoint);
    box.DrawPoint(kWhite, 4, 16, kMarkWhitePoint);
}

TEST_F(PaintBoxRenderTest, ScreenshotsAtSmallMiddleAndLargeCells)
{
    for (int cell : {9, 20, 39}) {
        QWidget panel;
        QPalette palette = panel.palette();
        palette.setColor(QPalette::Window, QColor(0x2F, 0x3A, 0x44));
        panel.setPalette(palette);
        panel.setAutoFillBackground(true);
        auto* board = new TGoPaintBox(&panel);
        board->LoadDefaultPictures();
        board->SetSzBoard(19 * cell);
        panel.resize(board->width() + 16, board->height() + 16);
        board->move(8, 8);
        ShowFinePosition(*board);
        test::SaveScreenshot(panel, QString("paintbox_cell%1.png").arg(cell));
        EXPECT_EQ(board->Cell(), cell);
    }
}

} // namespace
} // namespace zel
