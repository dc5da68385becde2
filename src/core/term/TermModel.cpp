#include "core/term/TermModel.h"

#include <algorithm>

namespace zel {
namespace {

constexpr std::size_t kMaxParamText = 32;
constexpr int kMaxParams = 4;
constexpr int kMaxParamValue = 9999;
// Repeated moves beyond this many rows only push more blank lines.
constexpr int kMaxRepeat = TTermModel::kScrollBackLines + TTermModel::kMaxRows;

bool IsFinal(std::uint8_t c)
{
    return c == '!' || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsParam(std::uint8_t c)
{
    return c == '#' || c == '%' || (c >= '0' && c <= '9') || c == ';' || c == '=' || c == '?' || c == '[' || c == '@';
}

struct Params {
    int value[kMaxParams] = {0, 0, 0, 0};
    int count = 0;
    int Get(int i, int fallback) const { return i < count ? value[i] : fallback; }
};

// Decimal numbers separated by ';'; the first four are kept, a missing one is 0.
Params ParseParams(const std::string& text)
{
    Params p;
    bool any = false;
    int index = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            any = true;
            if (index < kMaxParams)
                p.value[index] = std::min(kMaxParamValue, p.value[index] * 10 + (c - '0'));
        } else if (c == ';') {
            any = true;
            ++index;
        }
    }
    if (any)
        p.count = std::min(kMaxParams, index + 1);
    return p;
}

} // namespace

TTermModel::TTermModel()
{
    Resize(kTermColumns, 25);
}

void TTermModel::Resize(int columns, int rows)
{
    columns_ = std::clamp(columns, 1, kTermColumns);
    rows = std::clamp(rows, kMinRows, kMaxRows);
    const int oldRows = static_cast<int>(screen_.size());
    if (rows > oldRows) {
        screen_.resize(static_cast<std::size_t>(rows),
                       BlankLine(static_cast<std::uint8_t>(emulFg_), static_cast<std::uint8_t>(emulBg_)));
        buttons_.resize(static_cast<std::size_t>(rows));
        analysed_.resize(static_cast<std::size_t>(rows), 0);
    }
    for (int r = rows_ + 1; r <= rows && r <= oldRows; ++r)
        At(r) = BlankLine(static_cast<std::uint8_t>(emulFg_), static_cast<std::uint8_t>(emulBg_));
    rows_ = rows;
    view_.SetRows(rows_);
    if (fullScreen_)
        bottom_ = rows_;
    bottom_ = std::min(bottom_, rows_);
    top_ = std::min(top_, bottom_);
    row_ = std::min(row_, rows_);
    savedRow_ = std::min(savedRow_, rows_);
    if (runOpen_ && runRow_ > rows_)
        runOpen_ = false;
    MarkAllDirty();
}

void TTermModel::SetCsrXPos(int col)
{
    if (col >= 1 && col <= kTermColumns)
        col_ = col;
}

// Moving below the last row or (after a line feed) below the region scrolls.
void TTermModel::SetCsrYPos(int row)
{
    if (row < 1 || row > rows_ + 1)
        return;
    if (row == rows_ + 1) {
        row_ = rows_;
        if (top_ > 1 && bottom_ + 2 < rows_)
            ScrollRange(bottom_ + 3, rows_);
        else
            ScrollRange(top_, rows_);
    } else if (row == bottom_ + 1 && lineFeed_ && bottom_ < rows_) {
        row_ = bottom_;
        ScrollRange(top_, bottom_);
    } else {
        row_ = row;
    }
}

void TTermModel::SetColours(int fore, int back)
{
    const auto oldFg = static_cast<std::uint8_t>(emulFg_), oldBg = static_cast<std::uint8_t>(emulBg_);
    const auto newFg = static_cast<std::uint8_t>(std::clamp(fore, 0, 18));
    const auto newBg = static_cast<std::uint8_t>(std::clamp(back, 0, 18));
    view_.Recolour(screen_, oldFg, oldBg, newFg, newBg);
    emulFg_ = fg_ = newFg;
    emulBg_ = bg_ = newBg;
    MarkAllDirty();
}

const TTermLine& TTermModel::Row(int row) const
{
    return screen_[static_cast<std::size_t>(std::clamp(row, 1, rows_) - 1)];
}

std::string TTermModel::RowText(int row) const
{
    std::string text;
    for (int c = 1; c <= columns_; ++c) {
        const std::uint8_t ch = Cell(row, c).ch;
        text.push_back(ch ? static_cast<char>(ch) : ' ');
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

const std::vector<TItemButton>& TTermModel::Buttons(int row)
{
    row = std::clamp(row, 1, rows_);
    const auto i = static_cast<std::size_t>(row - 1);
    if (!analysed_[i]) {
        buttons_[i] = FindItemButtons(Row(row), columns_);
        analysed_[i] = 1;
    }
    return buttons_[i];
}

void TTermModel::MarkDirty(int row)
{
    if (row < 1 || row > rows_)
        return;
    view_.MarkDirty(row);
    analysed_[static_cast<std::size_t>(row - 1)] = 0;
}

void TTermModel::MarkAllDirty()
{
    for (int r = 1; r <= rows_; ++r)
        MarkDirty(r);
}

void TTermModel::Feed(std::string_view bytes)
{
    if (SBarPos() != SBarMax())
        SetSBarPos(SBarMax());
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        if (leadPending_) {
            leadPending_ = false;
            PutWideChar(lead_, b);
            lastByte_ = b;
            continue;
        }
        if (b >= 0x80) {
            // A bare CR before a double-byte character starts a new line just
            // as it does before ASCII text.
            if (!escape_)
                BareCrCheck();
            lead_ = b;
            leadPending_ = true;
            lastByte_ = 0;
            continue;
        }
        if (!ControlChar(b)) {
            if (b > 31) {
                PutChar(b);
            } else if (b == 9) {
                for (int i = 0; i < 8; ++i) {
                    PutChar(' ');
                    if ((col_ - 1) % 8 == 0)
                        break;
                }
            }
        }
        lastByte_ = b;
    }
    FlushRun();
}

void TTermModel::WriteLocal(std::string_view text)
{
    auto onLine = std::move(OnLine);
    auto onPacket = std::move(OnPacket);
    OnLine = nullptr;
    OnPacket = nullptr;
    std::string lineText, params;
    lineText.swap(lineText_);
    params.swap(params_);
    const bool escape = escape_, leadPending = leadPending_;
    const std::uint8_t lead = lead_, lastByte = lastByte_;
    escape_ = leadPending_ = false;
    lastByte_ = 0;

    if (col_ > 1)
        Feed("\r\n");
    Feed(text);
    Feed("\r\n");

    lineText_.swap(lineText);
    params_.swap(params);
    escape_ = escape;
    leadPending_ = leadPending;
    lead_ = lead;
    lastByte_ = lastByte;
    OnLine = std::move(onLine);
    OnPacket = std::move(onPacket);
}

void TTermModel::BareCrCheck()
{
    if (lastByte_ == 13 && (col_ != 1 || At(row_)[0].ch != 0)) {
        lineFeed_ = true;
        SetCsrYPos(row_ + 1);
    }
}

bool TTermModel::ControlChar(std::uint8_t ch)
{
    lineFeed_ = false;
    if (ch == 27) {
        FlushRun();
        escape_ = true;
        params_.clear();
        return true;
    }
    if (escape_) {
        if (IsFinal(ch)) {
            escape_ = false;
            Execute(static_cast<char>(ch));
        } else if (IsParam(ch)) {
            if (params_.size() < kMaxParamText)
                params_.push_back(static_cast<char>(ch));
            if (params_ == "7") {
                escape_ = false;
                Execute('s');
            } else if (params_ == "8") {
                escape_ = false;
                Execute('u');
            }
        } else {
            escape_ = false;
        }
        return true;
    }
    switch (ch) {
    case 13:
        FlushRun();
        RaisePacket();
        col_ = 1;
        return true;
    case 10:
        FlushRun();
        RaisePacket();
        lineFeed_ = true;
        SetCsrYPos(row_ + 1);
        col_ = 1;
        return true;
    case 8:
        FlushRun();
        if (col_ > 1)
            --col_;
        EraseCells(row_, col_, col_);
        return true;
    default:
        BareCrCheck();
        return false;
    }
}

void TTermModel::Put(std::uint8_t ch, std::uint8_t trail, int width)
{
    AppendLineText(ch, trail, width);
    if (col_ + width > columns_) {
        FlushRun();
        lineFeed_ = true;
        SetCsrYPos(row_ + 1);
        col_ = 1;
    }
    if (!runOpen_) {
        runOpen_ = true;
        runRow_ = row_;
        runCol_ = col_;
    }
    TTermLine& line = At(row_);
    const auto fg = static_cast<std::uint8_t>(fg_), bg = static_cast<std::uint8_t>(bg_);
    line[static_cast<std::size_t>(col_ - 1)] = TTermCell{ch, 0, fg, bg};
    if (width == 2)
        line[static_cast<std::size_t>(col_)] = TTermCell{trail, 0, fg, bg};
    MarkDirty(row_);
    col_ += width;
}

void TTermModel::AppendLineText(std::uint8_t ch, std::uint8_t trail, int width)
{
    if (lineText_.size() + static_cast<std::size_t>(width) > kMaxLineText)
        return;
    lineText_.push_back(static_cast<char>(ch));
    if (width == 2)
        lineText_.push_back(static_cast<char>(trail));
}

void TTermModel::FlushRun()
{
    if (!runOpen_)
        return;
    runOpen_ = false;
    At(runRow_)[static_cast<std::size_t>(runCol_ - 1)].runStart = 1;
    if (OnLine)
        OnLine(lineText_);
}

void TTermModel::RaisePacket()
{
    if (lineText_.empty())
        return;
    std::string text;
    text.swap(lineText_);
    if (OnPacket)
        OnPacket(text);
}

void TTermModel::ResetColours()
{
    fg_ = emulFg_;
    bg_ = emulBg_;
}

void TTermModel::Execute(char final)
{
    const Params p = ParseParams(params_);
    const int n = std::max(1, p.Get(0, 1));
    switch (final) {
    case 'A':
        row_ = std::max(1, row_ - n);
        break;
    case 'B':
        SetCsrYPos(std::min(row_ + n, rows_ + 1));
        break;
    case 'C':
        col_ = std::min(col_ + n, kTermColumns);
        break;
    case 'D':
        col_ = std::max(1, col_ - n);
        EraseCells(row_, col_, col_);
        break;
    case 'E':
        for (int i = 0; i < std::min(p.Get(0, 1), kMaxRepeat); ++i)
            SetCsrYPos(row_ + 1);
        break;
    case 'H':
    case 'f':
        SetCsrYPos(std::max(1, p.Get(0, 1)));
        SetCsrXPos(std::max(1, p.Get(1, 1)));
        break;
    case 'J':
        switch (p.Get(0, 0)) {
        case 0:
            if (row_ < rows_)
                EraseRows(row_, rows_, true);
            break;
        case 1:
            if (row_ >= 2)
                EraseRows(1, row_ - 1, true);
            break;
        case 2:
            ResetColours();
            EraseRows(1, rows_, true);
            MarkAllDirty();
            break;
        default:
            break;
        }
        break;
    case 'K':
        switch (p.Get(0, 0)) {
        case 0:
            EraseCells(row_, col_, kTermColumns);
            break;
        case 1:
            EraseCells(row_, 1, col_);
            break;
        case 2:
            EraseCells(row_, 1, kTermColumns);
            break;
        default:
            break;
        }
        break;
    case 'S':
        ScrollRange(top_, bottom_);
        break;
    case 'U':
        col_ = row_ = 1;
        EraseRows(1, rows_, false);
        break;
    case 'l':
        col_ = row_ = 1;
        ResetColours();
        EraseRows(1, rows_, false);
        break;
    case 'm':
        for (int i = 0; i < std::max(1, p.count); ++i) {
            const int v = p.Get(i, 0);
            if (v == 0) {
                ResetColours();
            } else if (v == 1) {
                bold_ = true;
            } else if (v == 2) {
                bold_ = false;
            } else if (v == 7) {
                std::swap(fg_, bg_);
            } else if (v == 8) {
                fg_ = bg_;
            } else if (v >= 30 && v <= 37) {
                fg_ = 2 * (v - 30) + (bold_ ? 1 : 2);
            } else if (v >= 40 && v <= 47) {
                bg_ = 2 * (v - 40) + 2;
            }
        }
        break;
    case 'r':
        if (p.count == 0) {
            top_ = 1;
            bottom_ = rows_;
            fullScreen_ = true;
        } else if (p.count == 1) {
            if (p.value[0] >= 1 && p.value[0] <= rows_) {
                top_ = p.value[0];
                bottom_ = rows_;
                fullScreen_ = true;
            }
        } else if (p.value[0] >= 1 && p.value[0] <= p.value[1] && p.value[1] <= rows_) {
            top_ = p.value[0];
            bottom_ = p.value[1];
            fullScreen_ = false;
        }
        break;
    case 's':
        savedCol_ = col_;
        savedRow_ = row_;
        break;
    case 'u':
        col_ = savedCol_;
        row_ = std::min(savedRow_, rows_);
        ResetColours();
        break;
    default:
        break;
    }
}

// Pushes the range's top row to the scroll-back and moves the rest up by one.
void TTermModel::ScrollRange(int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, rows_);
    if (first > last)
        return;
    view_.Push(At(first));
    for (int r = first; r < last; ++r)
        At(r) = At(r + 1);
    At(last) = BlankLine(static_cast<std::uint8_t>(emulFg_), static_cast<std::uint8_t>(emulBg_));
    if (runOpen_ && runRow_ >= first && runRow_ <= last)
        runRow_ = std::max(first, runRow_ - 1);
    for (int r = first; r <= last; ++r)
        MarkDirty(r);
    Changed();
}

void TTermModel::EraseRows(int first, int last, bool push)
{
    first = std::max(first, 1);
    last = std::min(last, rows_);
    for (int r = first; r <= last; ++r) {
        if (push)
            view_.Push(At(r));
        At(r) = BlankLine(static_cast<std::uint8_t>(emulFg_), static_cast<std::uint8_t>(emulBg_));
        MarkDirty(r);
    }
    if (first <= last)
        Changed();
}

void TTermModel::EraseCells(int row, int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, kTermColumns);
    TTermLine& line = At(row);
    for (int c = first; c <= last; ++c)
        line[static_cast<std::size_t>(c - 1)] =
            TTermCell{0, 0, static_cast<std::uint8_t>(emulFg_), static_cast<std::uint8_t>(emulBg_)};
    MarkDirty(row);
}

void TTermModel::Changed()
{
    if (OnChange)
        OnChange();
}

} // namespace zel
