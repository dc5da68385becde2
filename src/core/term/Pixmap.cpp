#include "core/term/Pixmap.h"

#include <algorithm>
#include <cstring>

namespace zel {

TPixmap::TPixmap(int width, int height, std::uint32_t fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      px_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill)
{
}

void TPixmap::Fill(std::uint32_t c)
{
    std::fill(px_.begin(), px_.end(), c);
}

void TPixmap::FillRect(int x, int y, int w, int h, std::uint32_t c)
{
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
    for (int yy = y0; yy < y1; ++yy)
        std::fill(Line(yy) + x0, Line(yy) + std::max(x0, x1), c);
}

void TPixmap::MoveRows(int from, int to, int h)
{
    if (from < 0 || to < 0 || h <= 0)
        return;
    h = std::min({h, height_ - from, height_ - to});
    if (h <= 0)
        return;
    std::memmove(Line(to), Line(from),
                 static_cast<std::size_t>(h) * static_cast<std::size_t>(width_) * sizeof(std::uint32_t));
}

} // namespace zel
