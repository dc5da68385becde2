#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/term/ScrollBack.h"
#include "core/term/TermCell.h"

namespace zel {

// The game window's append-only chat view: rows of 80 cells in the default
// colours and a 750-line scroll-back. The owner repaints the dirty rows.
class TChatTermModel {
public:
    static constexpr int kScrollBackLines = 750;
    static constexpr int kMaxRows = 35;

    TChatTermModel();

    // Writes `text` (CP949) at the cursor, wrapping at the last column; with
    // `newLine` the cursor then goes to the start of the next row.
    void AddText(std::string_view text, bool newLine);
    // Blanks every row and puts the cursor at (1, 1); the scroll-back stays.
    void Clear();
    void SetColours(int fore, int back);
    // Columns are clamped to 1..80, rows to 1..35.
    void Resize(int columns, int rows);

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    int CsrXPos() const { return col_; }
    int CsrYPos() const { return row_; }
    int EmulFGC() const { return emulFg_; }
    int EmulBGC() const { return emulBg_; }

    const TTermLine& Row(int row) const;
    std::string RowText(int row) const;
    const TScrollBack& ScrollBack() const { return scrollBack_; }
    int SBarMax() const { return scrollBack_.SBarMax(); }
    int SBarPos() const { return sbarPos_; }
    void SetSBarPos(int pos);
    const TTermLine& ViewRow(int row) const;

    bool RowDirty(int row) const;
    void ClearDamage();

private:
    TTermLine& At(int row) { return screen_[static_cast<std::size_t>(row - 1)]; }
    void FlushRun();
    void NextRow();
    void MarkAllDirty();

    int columns_ = kTermColumns;
    int rows_ = 25;
    std::vector<TTermLine> screen_;
    std::vector<std::uint8_t> dirty_;
    TScrollBack scrollBack_{kScrollBackLines};
    int sbarPos_ = 0;
    int col_ = 1, row_ = 1;
    int emulFg_ = 15, emulBg_ = 10;
    bool runOpen_ = false;
    int runCol_ = 1;
};

} // namespace zel
