#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/term/ItemButtons.h"
#include "core/term/ScreenView.h"
#include "core/term/TermCell.h"

namespace zel {

// The server terminal's character screen: a byte-stream parser for CP949 text
// with ANSI-style escape sequences, the screen of up to 80 columns, the scroll
// region, the 150-line scroll-back and the item buttons of each row. Drawing is
// left to the owner, which repaints the rows reported dirty.
class TTermModel {
public:
    static constexpr int kScrollBackLines = 150;
    static constexpr int kMinRows = 5;
    static constexpr int kMaxRows = 53; // what fits the 860-pixel off-screen bitmap
    static constexpr std::size_t kMaxLineText = 16384;

    TTermModel();

    // Raised after every flushed run with the text of the current line.
    std::function<void(const std::string&)> OnLine;
    // Raised at every CR and LF with the line text collected since the last one,
    // when that text is not empty.
    std::function<void(const std::string&)> OnPacket;
    // Raised after rows were erased or scrolled.
    std::function<void()> OnChange;

    // Feeds one received block. A lead byte at the end waits for the next block.
    void Feed(std::string_view bytes);
    // Writes a local notice on a line of its own. The server's unfinished
    // line, escape sequence or lead byte is kept, and no event is raised.
    void WriteLocal(std::string_view text);

    // New geometry: columns are clamped to 1..80, rows to 5..kMaxRows.
    void Resize(int columns, int rows);
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }

    int CsrXPos() const { return col_; }
    int CsrYPos() const { return row_; }
    // Cursor setters; values outside 1..80 and 1..rows + 1 are ignored.
    void SetCsrXPos(int col);
    void SetCsrYPos(int row);

    int FGColor() const { return fg_; }
    int BGColor() const { return bg_; }
    int EmulFGC() const { return emulFg_; }
    int EmulBGC() const { return emulBg_; }
    bool Bold() const { return bold_; }
    int Top() const { return top_; }
    int Bottom() const { return bottom_; }
    // Replaces the default colours (and every cell holding the old ones).
    void SetColours(int fore, int back);

    // Live screen, rows 1..Rows(), columns 1..80.
    const TTermLine& Row(int row) const;
    const TTermCell& Cell(int row, int col) const { return Row(row)[static_cast<std::size_t>(ClampCol(col) - 1)]; }
    // The row's characters, empty cells as blanks, trailing blanks removed.
    std::string RowText(int row) const;

    const TScrollBack& ScrollBack() const { return view_.ScrollBack(); }
    int SBarMax() const { return view_.SBarMax(); }
    int SBarPos() const { return view_.SBarPos(); }
    void SetSBarPos(int pos) { view_.SetSBarPos(pos); }
    bool ViewAtEnd() const { return SBarPos() >= SBarMax(); }
    // Row 1..Rows() of what the view shows at SBarPos.
    const TTermLine& ViewRow(int row) const { return view_.ViewRow(row, screen_); }

    // Rows to repaint since the last ClearDamage.
    bool RowDirty(int row) const { return view_.RowDirty(row); }
    void ClearDamage() { view_.ClearDamage(); }

    // Item buttons of a live row, analysed once per change of the row.
    const std::vector<TItemButton>& Buttons(int row);

private:
    int ClampCol(int col) const { return col < 1 ? 1 : (col > kTermColumns ? kTermColumns : col); }
    TTermLine& At(int row) { return screen_[static_cast<std::size_t>(row - 1)]; }
    void MarkDirty(int row);
    void MarkAllDirty();
    bool ControlChar(std::uint8_t ch);
    void PutChar(std::uint8_t ch) { Put(ch, 0, 1); }
    void PutWideChar(std::uint8_t lead, std::uint8_t trail) { Put(lead, trail, 2); }
    void Put(std::uint8_t ch, std::uint8_t trail, int width);
    void AppendLineText(std::uint8_t ch, std::uint8_t trail, int width);
    void BareCrCheck();
    void FlushRun();
    void RaisePacket();
    void Execute(char final);
    void ScrollRange(int first, int last);
    void EraseRows(int first, int last, bool push);
    void EraseCells(int row, int first, int last);
    void ResetColours();
    void Changed();

    int columns_ = kTermColumns;
    int rows_ = 25;
    std::vector<TTermLine> screen_;
    std::vector<std::vector<TItemButton>> buttons_;
    std::vector<std::uint8_t> analysed_;
    TScreenView view_{kScrollBackLines};

    int col_ = 1, row_ = 1;
    int fg_ = 15, bg_ = 10, emulFg_ = 15, emulBg_ = 10;
    bool bold_ = false;
    bool lineFeed_ = false;
    int top_ = 1, bottom_ = 25;
    bool fullScreen_ = true;
    int savedCol_ = 1, savedRow_ = 1;

    bool runOpen_ = false;
    int runRow_ = 1, runCol_ = 1;
    std::string lineText_;

    bool escape_ = false;
    std::string params_;
    std::uint8_t lastByte_ = 0;
    bool leadPending_ = false;
    std::uint8_t lead_ = 0;
};

} // namespace zel
