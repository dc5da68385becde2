#include "core/term/ChatTermModel.h"

#include <algorithm>
#include <string>

namespace zel {

TChatTermModel::TChatTermModel() : screen_(kMaxRows, BlankLine(15, 10))
{
    view_.SetRows(rows_);
}

void TChatTermModel::AddText(std::string_view text, bool newLine)
{
    const auto fg = static_cast<std::uint8_t>(emulFg_), bg = static_cast<std::uint8_t>(emulBg_);
    for (std::size_t i = 0; i < text.size();) {
        const auto ch = static_cast<std::uint8_t>(text[i]);
        const int width = ch >= 0x80 && i + 1 < text.size() ? 2 : 1;
        if (col_ + width > columns_ + 1) {
            FlushRun();
            NextRow();
        }
        if (!runOpen_) {
            runOpen_ = true;
            runCol_ = col_;
        }
        TTermLine& line = At(row_);
        // A character wider than a one-column view is cut to its first cell.
        for (int k = 0; k < width && col_ + k <= kTermColumns; ++k)
            line[static_cast<std::size_t>(col_ - 1 + k)] =
                TTermCell{static_cast<std::uint8_t>(text[i + static_cast<std::size_t>(k)]), 0, fg, bg};
        view_.MarkDirty(row_);
        col_ = std::min(col_ + width, kTermColumns + 1);
        i += static_cast<std::size_t>(width);
    }
    FlushRun();
    if (newLine)
        NextRow();
}

void TChatTermModel::FlushRun()
{
    if (!runOpen_)
        return;
    runOpen_ = false;
    At(row_)[static_cast<std::size_t>(runCol_ - 1)].runStart = 1;
}

// Column 1 of the next row; below the last row the screen scrolls up by one
// and the top row goes to the scroll-back.
void TChatTermModel::NextRow()
{
    col_ = 1;
    if (row_ < rows_) {
        ++row_;
        return;
    }
    view_.Push(At(1));
    for (int r = 1; r < rows_; ++r)
        At(r) = At(r + 1);
    At(rows_) = BlankLine(static_cast<std::uint8_t>(emulFg_), static_cast<std::uint8_t>(emulBg_));
    view_.MarkAllDirty();
}

void TChatTermModel::Clear()
{
    for (auto& line : screen_)
        line = BlankLine(static_cast<std::uint8_t>(emulFg_), static_cast<std::uint8_t>(emulBg_));
    col_ = row_ = 1;
    runOpen_ = false;
    view_.MarkAllDirty();
}

void TChatTermModel::SetColours(int fore, int back)
{
    const auto oldFg = static_cast<std::uint8_t>(emulFg_), oldBg = static_cast<std::uint8_t>(emulBg_);
    const auto newFg = static_cast<std::uint8_t>(std::clamp(fore, 0, 18));
    const auto newBg = static_cast<std::uint8_t>(std::clamp(back, 0, 18));
    view_.Recolour(screen_, oldFg, oldBg, newFg, newBg);
    emulFg_ = newFg;
    emulBg_ = newBg;
    view_.MarkAllDirty();
}

void TChatTermModel::Resize(int columns, int rows)
{
    columns_ = std::clamp(columns, 1, kTermColumns);
    rows_ = std::clamp(rows, 1, kMaxRows);
    row_ = std::min(row_, rows_);
    view_.SetRows(rows_);
    view_.MarkAllDirty();
}

const TTermLine& TChatTermModel::Row(int row) const
{
    return screen_[static_cast<std::size_t>(std::clamp(row, 1, rows_) - 1)];
}

std::string TChatTermModel::RowText(int row) const
{
    std::string text;
    for (const auto& c : Row(row))
        text.push_back(c.ch ? static_cast<char>(c.ch) : ' ');
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

} // namespace zel
