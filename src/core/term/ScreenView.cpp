#include "core/term/ScreenView.h"

#include <algorithm>

namespace zel {

void TScreenView::SetSBarPos(int pos)
{
    pos = std::clamp(pos, 0, SBarMax());
    if (pos != pos_) {
        pos_ = pos;
        MarkAllDirty();
    }
}

void TScreenView::Push(const TTermLine& line)
{
    scrollBack_.Push(line);
    pos_ = SBarMax();
}

void TScreenView::Recolour(std::vector<TTermLine>& screen, std::uint8_t oldFg, std::uint8_t oldBg, std::uint8_t newFg,
                           std::uint8_t newBg)
{
    zel::Recolour(screen, oldFg, oldBg, newFg, newBg);
    scrollBack_.Recolour(oldFg, oldBg, newFg, newBg);
}

void TScreenView::SetRows(int rows)
{
    rows_ = std::max(rows, 1);
    if (static_cast<std::size_t>(rows_) > dirty_.size())
        dirty_.resize(static_cast<std::size_t>(rows_), 1);
}

const TTermLine& TScreenView::ViewRow(int row, const std::vector<TTermLine>& screen) const
{
    row = std::clamp(row, 1, rows_);
    const int above = SBarMax() - std::min(pos_, SBarMax());
    if (row <= above)
        return scrollBack_.Line(scrollBack_.Count() - above + row - 1);
    return screen[static_cast<std::size_t>(row - above - 1)];
}

bool TScreenView::RowDirty(int row) const
{
    return row >= 1 && row <= rows_ && dirty_[static_cast<std::size_t>(row - 1)] != 0;
}

void TScreenView::MarkDirty(int row)
{
    if (row >= 1 && row <= rows_)
        dirty_[static_cast<std::size_t>(row - 1)] = 1;
}

void TScreenView::MarkAllDirty()
{
    std::fill(dirty_.begin(), dirty_.end(), 1);
}

void TScreenView::ClearDamage()
{
    std::fill(dirty_.begin(), dirty_.end(), 0);
}

} // namespace zel
