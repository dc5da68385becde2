#include "core/engine/PaintGeometry.h"

#include <cstdlib>

namespace zel {

bool TPaintGeometry::SetBoard(int size)
{
    if (size < kMinBoard || size == Board_)
        return false;
    Board_ = size;
    Cell_ = size / 19;
    Half_ = Cell_ / 2;
    return true;
}

TPixelRect TPaintGeometry::PointRect(int x, int y) const
{
    return {(x - 1) * Cell_, (y - 1) * Cell_, Cell_};
}

int TPaintGeometry::LineEnd() const
{
    const int end = 19 * Cell_ - Half_;
    return Cell_ % 2 == 1 ? end : end + 1;
}

int TPaintGeometry::PointAtPixel(int pixel) const
{
    if (pixel < 0)
        return (pixel + 1) / Cell_; // floor for negatives, then +1 gives <= 0
    return pixel / Cell_ + 1;
}

TPixelRect TPaintGeometry::SpriteSourceFor(int cell)
{
    if (cell < kSpriteMinCell || cell > kSpriteMaxCell)
        return {0, 0, 0};
    const int band = (cell - kSpriteMinCell) / 10;
    return {(cell - kSpriteMinCell - band * 10) * kSpriteStep, band * kSpriteStep, cell};
}

std::vector<TPixelRun> TPaintGeometry::StarPointRuns(int x, int y) const
{
    const int cx = CentreX(x);
    const int cy = CentreY(y);
    const int reach = Cell_ >= 20 ? 2 : 1;
    std::vector<TPixelRun> runs;
    for (int i = -reach; i <= reach; ++i) {
        const int w = reach + 1 - std::abs(i);
        runs.push_back({cy + i, cx - w, cx + w});
    }
    return runs;
}

std::vector<TPixelRun> TPaintGeometry::TriangleRuns(int x, int y) const
{
    const int even = Cell_ % 2 == 0 ? 1 : 0;
    const int e = CentreX(x) - even;
    const int f = CentreY(y) - even;
    const int g = Cell_ - 1;
    std::vector<TPixelRun> runs;
    if (g / 3 < 2)
        return runs;
    for (int k = 0; k <= g / 3 - 2; ++k)
        runs.push_back({f + k - g / 6, e - k, e + k});
    return runs;
}

int TPaintGeometry::SquareExtent(int sizeClass) const
{
    switch (sizeClass) {
    case 1:
        return Half_ / 5;
    case 2:
        return Half_ / 4;
    case 3:
    case 4:
    case 5:
        return Half_ / 3 - 1;
    default:
        return 0;
    }
}

int TPaintGeometry::HoverRadius() const
{
    if (Cell_ >= 26)
        return 5;
    if (Cell_ > 20)
        return 4;
    if (Cell_ >= 16)
        return 3;
    if (Cell_ <= 10)
        return 1;
    return 2;
}

int TPaintGeometry::CoordinateFontSize() const
{
    if (Cell_ <= 14)
        return 6;
    if (Cell_ <= 24)
        return 7;
    if (Cell_ >= 30)
        return 9;
    return 8;
}

bool TPaintGeometry::IsStarPoint(int x, int y)
{
    auto star = [](int v) { return v == 4 || v == 10 || v == 16; };
    return star(x) && star(y);
}

} // namespace zel
