#pragma once
#include <cstdint>
#include <vector>

#include "core/term/ScrollBack.h"
#include "core/term/TermCell.h"

namespace zel {

// What a character screen of Rows() rows shows and what must be repainted:
// the scroll-back with the position the view is scrolled to, and a repaint
// flag per row. The live rows stay with the screen's owner.
class TScreenView {
public:
    explicit TScreenView(int scrollBackLines) : scrollBack_(scrollBackLines) {}

    const TScrollBack& ScrollBack() const { return scrollBack_; }
    int SBarMax() const { return scrollBack_.SBarMax(); }
    int SBarPos() const { return pos_; }
    // Clamped to 0..SBarMax(); a new position marks every row dirty.
    void SetSBarPos(int pos);
    // Keeps a line scrolled off the top of the screen; the view returns to the end.
    void Push(const TTermLine& line);
    // Replaces old default colours by new ones in the scroll-back and in `screen`.
    void Recolour(std::vector<TTermLine>& screen, std::uint8_t oldFg, std::uint8_t oldBg, std::uint8_t newFg,
                  std::uint8_t newBg);

    // At least one row; rows gained are dirty.
    void SetRows(int rows);
    int Rows() const { return rows_; }
    // Row 1..Rows() (clamped) of what the view shows over `screen`, whose
    // first Rows() lines are the live rows.
    const TTermLine& ViewRow(int row, const std::vector<TTermLine>& screen) const;

    bool RowDirty(int row) const;
    // Rows outside 1..Rows() are ignored.
    void MarkDirty(int row);
    void MarkAllDirty();
    void ClearDamage();

private:
    TScrollBack scrollBack_;
    int pos_ = 0;
    int rows_ = 1;
    std::vector<std::uint8_t> dirty_ = std::vector<std::uint8_t>(1, 1);
};

} // namespace zel
