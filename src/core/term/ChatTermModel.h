#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/term/ScreenView.h"
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
    const TScrollBack& ScrollBack() const { return view_.ScrollBack(); }
    int SBarMax() const { return view_.SBarMax(); }
    int SBarPos() const { return view_.SBarPos(); }
    void SetSBarPos(int pos) { view_.SetSBarPos(pos); }
    const TTermLine& ViewRow(int row) const { return view_.ViewRow(row, screen_); }

    bool RowDirty(int row) const { return view_.RowDirty(row); }
    void ClearDamage() { view_.ClearDamage(); }

private:
    TTermLine& At(int row) { return screen_[static_cast<std::size_t>(row - 1)]; }
    void FlushRun();
    void NextRow();

    int columns_ = kTermColumns;
    int rows_ = 25;
    std::vector<TTermLine> screen_;
    TScreenView view_{kScrollBackLines};
    int col_ = 1, row_ = 1;
    int emulFg_ = 15, emulBg_ = 10;
    bool runOpen_ = false;
    int runCol_ = 1;
};

} // namespace zel
