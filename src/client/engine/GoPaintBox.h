#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/engine/GoSnapshot.h"
#include "core/engine/PaintGeometry.h"
#include "core/engine/PaintMarks.h"

namespace zel {

// The control that shows one 19 x 19 board: tiled wood, grid and star points,
// stones from sprite sheets, move numbers, the last-move triangle, labels,
// territory squares, the analysis overlay, a hover square and coordinates.
// It keeps its own copy of colours and marks and draws into a canvas of its
// own, so a single point change repaints one cell only. Points are 1-based,
// X the column from the left and Y the row from the top.
class TGoPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TGoPaintBox(QWidget* parent = nullptr);

    // The pictures: the wood texture (tiled) and the three 444 x 129 stone
    // sheets (mask, black, white). Assigning repaints.
    void SetBoardImage(const QImage& image);
    void SetStoneMask(const QImage& image);
    void SetBlackStone(const QImage& image);
    void SetWhiteStone(const QImage& image);
    // Assigns the pictures built into the program.
    void LoadDefaultPictures();

    QColor LNColor() const { return LNColor_; }
    void SetLNColor(const QColor& colour) { LNColor_ = colour; }

    int szBoard() const { return Geometry_.Board(); }
    // Side of the board square in pixels; the control is 18 pixels larger.
    // Values below 19 and repeated values are ignored.
    void SetSzBoard(int size);
    int Cell() const { return Geometry_.Cell(); }
    int Half() const { return Geometry_.Half(); }
    int SizeNum3() const { return SizeNum3_; }
    int SizeNum2() const { return SizeNum2_; }
    int SizeLetter() const { return SizeLetter_; }
    int SizeHangul() const { return SizeHangul_; }

    // Stores the colour and mark of a point and redraws it; points off the
    // board are ignored. The target of the board's point-change event.
    void DrawPoint(std::uint8_t colour, int x, int y, int mark);
    // With `clear` and a mark on the point: redraws it without the mark.
    // Otherwise a positive `mark` is stored and drawn over the point.
    void DrawMark(int x, int y, bool clear, int mark);
    void RedrawAll();

    // Replaces every colour (row-major, index (Y-1)*19 + X-1), clears every
    // mark and repaints.
    void SetColours(const TPointColours& colours);
    void SetColours(const TColourGrid& board);
    void GetColours(TPointColours& colours) const;
    // Replaces every mark and redraws the points whose mark changed.
    void SetMarks(const TPointValues& marks);
    void ClearMarks();
    // Removes the labels (marks 600 and up) from the board.
    void ClearLabels();
    // Lists the labels as the wire text (see LabelListText) and removes them.
    std::string TakeLabels();

    void SetHoverMode(bool enabled);
    bool HoverMode() const { return HoverMode_; }

    // Shows the position-analysis overlay until HideAnalysis; it is drawn
    // again on every full repaint.
    TAnalysisCounts ShowAnalysis(const TPointValues& values);
    void HideAnalysis();

    // Marks the stones a dead-stone estimate suggests with a red cross until
    // ClearSuggestion; the cross is drawn again whenever its point or the
    // board is. Points off the board are ignored.
    void ShowSuggestion(const std::vector<std::pair<int, int>>& points);
    void ClearSuggestion();
    bool Suggested(int x, int y) const;

    std::uint8_t Colour(int x, int y) const;
    int Mark(int x, int y) const;
    // What the control shows: the board, its labels and a transparent margin.
    const QImage& Canvas() const { return Canvas_; }

signals:
    // A click: the button went down and up on the same point. The margin
    // gives 20; other coordinates outside the board give 0 or less.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    // Every move of the mouse over the control, in points.
    void MouseMove(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void FitFonts();
    void ResizeCanvas();
    void PaintEmptyCell(int x, int y, bool withGrid);
    void PaintStone(std::uint8_t colour, int x, int y);
    void PaintMark(int x, int y, int mark);
    void PaintText(int x, int y, const QFont& font, const QColor& colour, const QString& text);
    void PaintSquare(int x, int y, int sizeClass, bool blackFill);
    void PaintRuns(const std::vector<TPixelRun>& runs, const QColor& colour);
    void PaintCoordinates();
    void PaintOverlay();
    void PaintHover(int x, int y);
    void PaintSuggestion(int x, int y);
    void PrepareSprites();
    void Touch(int x, int y);

    TPaintGeometry Geometry_;
    bool Constructed_ = false;
    int DownCol_ = 0;
    int DownRow_ = 0;
    int SizeNum3_ = 0;
    int SizeNum2_ = 0;
    int SizeLetter_ = 0;
    int SizeHangul_ = 0;
    int HoverX_ = -1;
    int HoverY_ = -1;
    bool HoverMode_ = false;
    TPointValues Analysis_{};
    TPointColours Colours_{};
    TPointValues Marks_{};
    bool AnalysisShown_ = false;
    std::array<bool, kBoardSize * kBoardSize> Suggested_{};
    QColor LNColor_{0xDF, 0xDF, 0xDF};

    QImage BoardImage_;
    QImage StoneMask_;
    QImage BlackStone_;
    QImage WhiteStone_;
    // Mask and stone sheet joined into premultiplied sprites; null when the
    // sheets are missing, and stones are then drawn as plain circles.
    QImage BlackSprites_;
    QImage WhiteSprites_;
    QImage Canvas_;
};

} // namespace zel
