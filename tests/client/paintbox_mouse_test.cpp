#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "PaintBoxTestKit.h"

namespace zel {
namespace {

class PaintBoxMouseTest : public ::testing::Test, private test::AppFirst {
protected:
    PaintBoxMouseTest()
    {
        box.LoadDefaultPictures();
        box.SetSzBoard(380); // 20-pixel cells
    }
    // The pixel at the centre of a point, or anywhere for points off the board.
    static QPoint At(int x, int y) { return QPoint((x - 1) * 20 + 10, (y - 1) * 20 + 10); }

    // A move delivered straight to the control, shown on screen or not.
    void Move(QPoint at, Qt::MouseButtons held = Qt::NoButton)
    {
        QMouseEvent event(QEvent::MouseMove, at, box.mapToGlobal(at), Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(&box, &event);
    }

    TGoPaintBox box;
};

TEST_F(PaintBoxMouseTest, ClickNeedsTheButtonDownAndUpOnOnePoint)
{
    struct Row {
        const char* Name;
        QPoint Down;
        std::vector<QPoint> Path; // moves with the button held, the last one is the release
        int Clicks;
        int X, Y;
    };
    const Row rows[] = {
        {"same point", At(4, 4), {At(4, 4) + QPoint(5, 5)}, 1, 4, 4},
        {"other point", At(4, 4), {At(5, 4)}, 0, 0, 0},
        {"dragged back", At(4, 4), {At(9, 9), At(4, 4)}, 1, 4, 4},
        {"label margin", QPoint(385, 30), {QPoint(390, 31)}, 1, 20, 2},
        {"released left of the board", QPoint(2, 30), {QPoint(-3, 30)}, 0, 0, 0},
        {"released above the board", QPoint(30, 2), {QPoint(30, -15)}, 0, 0, 0},
    };
    for (const Row& row : rows) {
        QSignalSpy clicks(&box, &TGoPaintBox::MouseDown);
        QTest::mousePress(&box, Qt::LeftButton, Qt::NoModifier, row.Down);
        for (std::size_t i = 0; i + 1 < row.Path.size(); ++i)
            Move(row.Path[i], Qt::LeftButton);
        QTest::mouseRelease(&box, Qt::LeftButton, Qt::ShiftModifier, row.Path.back());
        ASSERT_EQ(clicks.count(), row.Clicks) << row.Name;
        if (row.Clicks == 1) {
            const QList<QVariant> args = clicks.takeFirst();
            EXPECT_EQ(args.at(0).value<Qt::MouseButton>(), Qt::LeftButton) << row.Name;
            EXPECT_EQ(args.at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier) << row.Name;
            EXPECT_EQ(args.at(2).toInt(), row.X) << row.Name;
            EXPECT_EQ(args.at(3).toInt(), row.Y) << row.Name;
        }
    }
}

TEST_F(PaintBoxMouseTest, MovesAreReportedInPoints)
{
    QSignalSpy moves(&box, &TGoPaintBox::MouseMove);
    Move(QPoint(59, 20));
    ASSERT_EQ(moves.count(), 1);
    EXPECT_EQ(moves.at(0).at(1).toInt(), 3);
    EXPECT_EQ(moves.at(0).at(2).toInt(), 2);
}

TEST_F(PaintBoxMouseTest, HoverSquareFollowsTheMouseAndLeavesNoTrace)
{
    box.DrawPoint(kBlack, 5, 5, 12);
    const QImage emptyCell = test::CellImage(box, 4, 4);
    const QImage stoneCell = test::CellImage(box, 5, 5);

    Move(At(4, 4));
    EXPECT_EQ(test::CellImage(box, 4, 4), emptyCell) << "no square while hover mode is off";

    box.SetHoverMode(true);
    EXPECT_EQ(box.cursor().shape(), Qt::PointingHandCursor);
    Move(At(4, 4) + QPoint(1, 0));
    EXPECT_EQ(test::CentreOf(box, 4, 4), QColor(Qt::white));
    EXPECT_GT(test::CountInCell(box, 4, 4, test::IsNavy), 8);

    Move(At(5, 5));
    EXPECT_EQ(test::CellImage(box, 4, 4), emptyCell);
    EXPECT_NE(test::CellImage(box, 5, 5), stoneCell);

    // The margin is no point: the square stays where it was.
    Move(QPoint(390, 390));
    EXPECT_NE(test::CellImage(box, 5, 5), stoneCell);

    box.SetHoverMode(false);
    EXPECT_EQ(test::CellImage(box, 5, 5), stoneCell);
    EXPECT_EQ(box.Mark(5, 5), 12);
    EXPECT_EQ(box.cursor().shape(), Qt::ArrowCursor);
}

} // namespace
} // namespace zel
