#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace zel {

// A horizontal run of pixels on row Y from X1 to X2, both inclusive.
struct TPixelRun {
    int Y = 0;
    int X1 = 0;
    int X2 = 0;
};

struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Side = 0;
};

// Pixel geometry of the board drawing: a square of szBoard pixels holding
// 19 x 19 cells of Cell pixels, plus an 18-pixel margin on the right and at
// the bottom for the coordinate labels. Points are 1-based (X column, Y row).
class TPaintGeometry {
public:
    static constexpr int kMinBoard = 19;
    static constexpr int kMargin = 18;
    static constexpr int kDefaultBoard = 190;
    // Stone sprites exist for cells of 10..39 pixels.
    static constexpr int kSpriteMinCell = 10;
    static constexpr int kSpriteMaxCell = 39;
    static constexpr int kSpriteSheetWidth = 444;
    static constexpr int kSpriteSheetHeight = 129;
    static constexpr int kSpriteStep = 45;

    TPaintGeometry() { SetBoard(kDefaultBoard); }

    // Refuses sizes below 19 (a cell of 0 pixels); returns whether the size
    // changed. A repeated size is not a change.
    bool SetBoard(int size);

    int Board() const { return Board_; }
    int Cell() const { return Cell_; }
    int Half() const { return Half_; }
    // Side of the whole control, labels included.
    int ControlSide() const { return Board_ + kMargin; }

    TPixelRect PointRect(int x, int y) const;
    int CentreX(int x) const { return (x - 1) * Cell_ + Half_; }
    int CentreY(int y) const { return (y - 1) * Cell_ + Half_; }
    // Last pixel of the grid lines (both directions).
    int LineEnd() const;

    // The point under a pixel: floor(pixel / Cell) + 1, so pixels left of or
    // above the board give 0 or less, never 1.
    int PointAtPixel(int pixel) const;

    bool HasSprite() const { return Cell_ >= kSpriteMinCell && Cell_ <= kSpriteMaxCell; }
    // Source square of the current cell size in a stone sprite sheet.
    TPixelRect SpriteSource() const { return SpriteSourceFor(Cell_); }
    static TPixelRect SpriteSourceFor(int cell);

    // The small diamond of a star point at (X, Y).
    std::vector<TPixelRun> StarPointRuns(int x, int y) const;
    // The solid upward triangle marking the last move; empty for tiny cells.
    std::vector<TPixelRun> TriangleRuns(int x, int y) const;
    // Half side of an analysis or territory square of size class 1..5; 0 for
    // any other class.
    int SquareExtent(int sizeClass) const;
    // Half side of the hover square.
    int HoverRadius() const;
    // Pixel size (at 96 dpi) class of the coordinate labels: 6, 7, 8 or 9 pt.
    int CoordinateFontSize() const;

    static bool IsStarPoint(int x, int y);
    static bool IsOnBoard(int x, int y) { return x >= 1 && x <= 19 && y >= 1 && y <= 19; }

private:
    int Board_ = 0;
    int Cell_ = 0;
    int Half_ = 0;
};

} // namespace zel
