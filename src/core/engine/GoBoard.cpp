#include "core/engine/GoBoard.h"

#include <algorithm>

#include "core/engine/LetterCodes.h"

namespace zel {

namespace {

using TVisited = std::array<std::array<bool, kBoardSize + 1>, kBoardSize + 1>;

constexpr int kDx[4] = {-1, 1, 0, 0};
constexpr int kDy[4] = {0, 0, -1, 1};

// Floods from (x, y) through points whose colour `enter` accepts, calling
// visit(x, y) once per entered point. Every point is pushed at most once, so
// the fixed stack never overflows.
template <class Enter, class Visit>
void Flood(const TColourGrid& board, TVisited& seen, int x, int y, Enter enter, Visit visit)
{
    if (seen[y][x] || !enter(board[y][x]))
        return;
    std::array<std::pair<std::int8_t, std::int8_t>, kBoardSize * kBoardSize> stack;
    int top = 0;
    seen[y][x] = true;
    stack[top++] = {static_cast<std::int8_t>(x), static_cast<std::int8_t>(y)};
    while (top > 0) {
        auto [px, py] = stack[--top];
        visit(px, py);
        for (int d = 0; d < 4; ++d) {
            int nx = px + kDx[d], ny = py + kDy[d];
            if (TGoBoard::IsOnBoard(nx, ny) && !seen[ny][nx] && enter(board[ny][nx])) {
                seen[ny][nx] = true;
                stack[top++] = {static_cast<std::int8_t>(nx), static_cast<std::int8_t>(ny)};
            }
        }
    }
}

bool HasEmptyNeighbour(const TColourGrid& board, int x, int y)
{
    for (int d = 0; d < 4; ++d) {
        int nx = x + kDx[d], ny = y + kDy[d];
        if (TGoBoard::IsOnBoard(nx, ny) && board[ny][nx] == kEmpty)
            return true;
    }
    return false;
}

char Letter(int v)
{
    return NumToLetter(v);
}

} // namespace

TGoBoard::TGoBoard()
{
    TGoSnapshot s;
    EmptySnapshot(s);
    TNumbering n;
    ClearNumbering(n);
    *this = TGoBoard(s, n);
}

TGoBoard::TGoBoard(const TGoSnapshot& snapshot, const TNumbering& numbering)
{
    LoadFields(snapshot);
    handicapVariant_ = snapshot.HandicapVariant;
    SetNumbering(numbering);
    curX_ = moves_[0].X;
    curY_ = moves_[0].Y;
    redoLimit_ = moveCount_;
}

void TGoBoard::LoadFields(const TGoSnapshot& s)
{
    colourToMove_ = s.ColourToMove == kWhite ? kWhite : kBlack;
    opponentColour_ = Opponent(colourToMove_);
    blackPrisoners_ = s.BlackPrisoners;
    whitePrisoners_ = s.WhitePrisoners;
    handicap_ = s.Handicap;
    moveCount_ = std::clamp(s.MoveCount, 0, kMaxMoves);
    captures_ = s.Captures;
    captures_.Count = std::clamp(captures_.Count, 0, kMaxCaptures);
    moves_ = s.Moves;
    board_ = s.Board;
    marks_ = s.Marks;
}

void TGoBoard::SetNumbering(const TNumbering& numbering)
{
    startNumber_ = numbering.StartNumber;
    firstNumbered_ = numbering.FirstNumbered;
    showNumbers_ = numbering.ShowNumbers;
}

void TGoBoard::SetRedoLimit(int limit)
{
    redoLimit_ = std::clamp(limit, moveCount_, kMaxMoves);
}

void TGoBoard::LastMove(int& x, int& y) const
{
    x = moves_[moveCount_].X;
    y = moves_[moveCount_].Y;
}

bool TGoBoard::CheckMove(int x, int y, std::uint8_t colour, TStack& captured, int& koX, int& koY) const
{
    koX = koY = 0;
    if (!IsEmptyPoint(x, y))
        return false;
    TColourGrid board = board_;
    board[y][x] = colour;
    const std::uint8_t enemy = Opponent(colour);
    TVisited seen{};
    for (int d = 0; d < 4; ++d) {
        int nx = x + kDx[d], ny = y + kDy[d];
        if (!IsOnBoard(nx, ny) || board[ny][nx] != enemy || seen[ny][nx])
            continue;
        TStack group;
        bool liberty = false;
        Flood(
            board, seen, nx, ny, [enemy](std::uint8_t c) { return c == enemy; },
            [&](int px, int py) {
                group.Push(px, py);
                liberty = liberty || HasEmptyNeighbour(board, px, py);
            });
        if (!liberty)
            for (int i = 0; i < group.Count(); ++i)
                captured.Push(group.At(i).X, group.At(i).Y);
    }
    if (captured.Count() > 0) {
        if (captured.Count() == 1) {
            koX = captured.At(0).X;
            koY = captured.At(0).Y;
            const TMoveRecord& last = moves_[moveCount_];
            if (last.X == koX && last.Y == koY && last.KoX == x && last.KoY == y)
                return false;
        }
        return true;
    }
    bool liberty = false;
    TVisited own{};
    Flood(
        board, own, x, y, [colour](std::uint8_t c) { return c == colour; },
        [&](int px, int py) { liberty = liberty || HasEmptyNeighbour(board, px, py); });
    return liberty;
}

bool TGoBoard::IsLegalMove(int x, int y) const
{
    TStack captured;
    int koX = 0, koY = 0;
    return moveCount_ < kMaxMoves && CheckMove(x, y, colourToMove_, captured, koX, koY) &&
           captures_.Count + captured.Count() <= kMaxCaptures;
}

bool TGoBoard::PlayAt(int x, int y)
{
    bool played = PlayStone(x, y, true);
    redoLimit_ = moveCount_;
    return played;
}

bool TGoBoard::PlayStone(int x, int y, bool newMove)
{
    koX_ = koY_ = 0;
    curX_ = x;
    curY_ = y;
    TStack captured;
    int koX = 0, koY = 0;
    if (moveCount_ >= kMaxMoves || !CheckMove(x, y, colourToMove_, captured, koX, koY))
        return false;
    if (captures_.Count + captured.Count() > kMaxCaptures)
        return false;
    koX_ = koX;
    koY_ = koY;
    if (newMove && firstNumbered_ > moveCount_)
        firstNumbered_ = moveCount_;
    NumberingStep();
    board_[y][x] = colourToMove_;
    marks_[y][x] = nextMark_;
    PointChanged(x, y);

    if (colourToMove_ == kBlack)
        blackPrisoners_ += captured.Count();
    else
        whitePrisoners_ += captured.Count();
    while (captured.Count() > 0) {
        int cx = 0, cy = 0;
        captured.Pop(cx, cy);
        captures_.Items[captures_.Count++] = {cx, cy, moveCount_};
        marks_[cy][cx] = 0;
        board_[cy][cx] = kEmpty;
        PointChanged(cx, cy);
    }

    ++moveCount_;
    moves_[moveCount_] = {colourToMove_, x, y, koX_, koY_};
    SwapColours();
    RaiseMove(true);
    return true;
}

bool TGoBoard::PlayPass()
{
    if (moveCount_ >= kMaxMoves)
        return false;
    RecordPass();
    return true;
}

void TGoBoard::RecordPass()
{
    curX_ = curY_ = koX_ = koY_ = 0;
    NumberingStep();
    ++moveCount_;
    moves_[moveCount_] = {colourToMove_, 0, 0, 0, 0};
    SwapColours();
    RaiseMove(true);
}

void TGoBoard::NumberingStep()
{
    if (showNumbers_) {
        nextMark_ = moveCount_ - firstNumbered_ + startNumber_ + 1;
        return;
    }
    const TMoveRecord& last = moves_[moveCount_];
    if (last.X > 0 && IsOnBoard(last.X, last.Y) && marks_[last.Y][last.X] > 0) {
        marks_[last.Y][last.X] = 0;
        PointChanged(last.X, last.Y);
    }
    nextMark_ = kMarkLastMove;
}

int TGoBoard::RestoredMark(int x, int y) const
{
    for (int i = moveCount_; i >= std::max(firstNumbered_ + 1, 1); --i)
        if (moves_[i].X == x && moves_[i].Y == y)
            return i - firstNumbered_ + startNumber_;
    return 0;
}

void TGoBoard::Undo()
{
    if (moveCount_ <= 0 || moves_[moveCount_].X < 0)
        return;
    const TMoveRecord undone = moves_[moveCount_];
    curX_ = undone.X;
    curY_ = undone.Y;
    --moveCount_;
    if (undone.X > 0 && IsOnBoard(undone.X, undone.Y)) {
        board_[undone.Y][undone.X] = kEmpty;
        marks_[undone.Y][undone.X] = 0;
        PointChanged(undone.X, undone.Y);
        int restored = 0;
        while (captures_.Count > 0 && captures_.Items[captures_.Count - 1].MoveIndex == moveCount_) {
            const TCaptureItem item = captures_.Items[--captures_.Count];
            if (!IsOnBoard(item.X, item.Y))
                continue;
            ++restored;
            marks_[item.Y][item.X] = showNumbers_ ? RestoredMark(item.X, item.Y) : 0;
            board_[item.Y][item.X] = colourToMove_;
            PointChanged(item.X, item.Y);
        }
        if (colourToMove_ == kBlack)
            whitePrisoners_ -= restored;
        else
            blackPrisoners_ -= restored;
    }
    SwapColours();
    curX_ = moves_[moveCount_].X;
    curY_ = moves_[moveCount_].Y;
    if (!showNumbers_ && curX_ > 0 && IsOnBoard(curX_, curY_)) {
        marks_[curY_][curX_] = kMarkLastMove;
        PointChanged(curX_, curY_);
    }
    RaiseMove(false);
}

bool TGoBoard::Redo()
{
    if (moveCount_ >= redoLimit_ || moveCount_ >= kMaxMoves)
        return false;
    const TMoveRecord record = moves_[moveCount_ + 1];
    if (record.X == 0 && record.Y == 0) {
        RecordPass();
        return true;
    }
    return PlayStone(record.X, record.Y, false);
}

void TGoBoard::SetHandicap(int count, std::uint8_t variant)
{
    handicap_ = count;
    handicapVariant_ = variant;
    if (count < 2 || count >= 20)
        return;
    nextMark_ = 0;
    colourToMove_ = kWhite;
    opponentColour_ = kBlack;
    auto place = [this](int x, int y) {
        board_[y][x] = kBlack;
        if (OnPointChange)
            OnPointChange(*this, x, y, 0, kBlack);
    };
    place(16, 4);
    place(4, 16);
    if (count >= 3)
        variant != 0 ? place(16, 16) : place(4, 4);
    if (count >= 4)
        variant != 0 ? place(4, 4) : place(16, 16);
    if (count == 5 || count == 7 || count == 9)
        place(10, 10);
    if (count >= 6) {
        place(4, 10);
        place(16, 10);
    }
    if (count >= 8) {
        place(10, 4);
        place(10, 16);
    }
    if (count >= 10) {
        place(7, 7);
        place(7, 13);
        place(13, 7);
        place(13, 13);
    }
}

bool TGoBoard::ToggleDeadGroup(int x, int y, bool remove)
{
    if (!IsOnBoard(x, y) || board_[y][x] == kEmpty)
        return false;
    const std::uint8_t colour = board_[y][x];
    const int current = marks_[y][x];
    const int newMark = (current == kMarkBlackPoint || current == kMarkWhitePoint) ? 0
                        : colour == kBlack                                         ? kMarkWhitePoint
                                                                                   : kMarkBlackPoint;
    TStack group;
    TVisited seen{};
    Flood(
        board_, seen, x, y, [colour](std::uint8_t c) { return c == colour || c == kEmpty; },
        [&](int px, int py) {
            if (board_[py][px] == colour)
                group.Push(px, py);
        });
    bool marked = false;
    const bool take = remove && newMark == 0;
    for (int i = 0; i < group.Count(); ++i) {
        const int gx = group.At(i).X, gy = group.At(i).Y;
        marks_[gy][gx] = newMark;
        marked = marked || newMark != 0;
        if (take) {
            if (colour == kBlack)
                ++whitePrisoners_;
            else
                ++blackPrisoners_;
            board_[gy][gx] = kEmpty;
        }
        PointChanged(gx, gy);
    }
    if (take)
        RaiseMove(false);
    return marked;
}

void TGoBoard::ApplyDeadList(std::string_view text, bool remove, TStack& clicks)
{
    clicks.Clear();
    if (text.size() % 2 != 0)
        return;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const int x = LetterToNum(text.substr(i, 1));
        const int y = LetterToNum(text.substr(i + 1, 1));
        if (IsOnBoard(x, y))
            ToggleDeadGroup(x, y, remove);
    }
}

std::string TGoBoard::DeadListText(TStack& clicks)
{
    std::string text;
    TVisited written{};
    while (clicks.Count() > 0) {
        int x = 0, y = 0;
        clicks.Pop(x, y);
        if (!IsOnBoard(x, y) || written[y][x])
            continue;
        if (marks_[y][x] == kMarkBlackPoint || marks_[y][x] == kMarkWhitePoint) {
            written[y][x] = true;
            text += Letter(x);
            text += Letter(y);
        }
    }
    return text;
}

void TGoBoard::CountScore(int& black, int& white)
{
    black = white = 0;
    TVisited seen{};
    for (int y = 1; y <= kBoardSize; ++y) {
        for (int x = 1; x <= kBoardSize; ++x) {
            if (board_[y][x] != kEmpty || seen[y][x])
                continue;
            TStack region;
            bool touchesBlack = false, touchesWhite = false;
            Flood(
                board_, seen, x, y, [](std::uint8_t c) { return c == kEmpty; },
                [&](int px, int py) {
                    region.Push(px, py);
                    for (int d = 0; d < 4; ++d) {
                        int nx = px + kDx[d], ny = py + kDy[d];
                        if (!IsOnBoard(nx, ny))
                            continue;
                        touchesBlack = touchesBlack || board_[ny][nx] == kBlack;
                        touchesWhite = touchesWhite || board_[ny][nx] == kWhite;
                    }
                });
            if (touchesBlack == touchesWhite)
                continue;
            const int mark = touchesBlack ? kMarkBlackPoint : kMarkWhitePoint;
            (touchesBlack ? black : white) += region.Count();
            for (int i = 0; i < region.Count(); ++i)
                if (OnPointChange)
                    OnPointChange(*this, region.At(i).X, region.At(i).Y, mark, kEmpty);
        }
    }
    black += blackPrisoners_;
    white += whitePrisoners_;
}

void TGoBoard::SaveSnapshot(TGoSnapshot& s) const
{
    s.ColourToMove = colourToMove_;
    s.BlackPrisoners = blackPrisoners_;
    s.WhitePrisoners = whitePrisoners_;
    s.Handicap = handicap_;
    s.HandicapVariant = handicapVariant_;
    s.MoveCount = moveCount_;
    s.Captures = captures_;
    s.Moves = moves_;
    s.Board = board_;
    s.Marks = marks_;
}

void TGoBoard::LoadSnapshot(const TGoSnapshot& s)
{
    LoadFields(s);
    redoLimit_ = moveCount_;
    const TMoveRecord& last = moves_[moveCount_];
    if (moveCount_ > 0 && last.X > 0 && IsOnBoard(last.X, last.Y) && OnPointChange)
        OnPointChange(*this, last.X, last.Y, kMarkLastMove, opponentColour_);
}

void TGoBoard::ResetGame()
{
    TGoSnapshot s;
    EmptySnapshot(s);
    LoadFields(s);
    handicapVariant_ = s.HandicapVariant;
    curX_ = moves_[0].X;
    curY_ = moves_[0].Y;
    redoLimit_ = 0;
}

void TGoBoard::NumberAllMoves(TMarkGrid& numbers)
{
    for (auto& row : numbers)
        row.fill(0);
    for (int i = 1; i <= moveCount_; ++i) {
        const TMoveRecord& m = moves_[i];
        if (m.X > 0 && IsOnBoard(m.X, m.Y) && board_[m.Y][m.X] != kEmpty)
            numbers[m.Y][m.X] = i;
    }
    startNumber_ = 1;
    firstNumbered_ = 1;
    showNumbers_ = 1;
}

void TGoBoard::ExportColours(TColourPairs& pairs) const
{
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x) {
            const std::uint8_t c = board_[y][x];
            pairs[(y - 1) * kBoardSize + (x - 1)] = {-1, c == kBlack ? 0 : c == kWhite ? 1 : 2};
        }
}

std::string TGoBoard::GameText() const
{
    std::string text;
    text += Letter(handicap_);
    text += Letter(moveCount_ / 100 % 10);
    text += Letter(moveCount_ / 10 % 10);
    text += Letter(moveCount_ % 10);
    for (int i = 1; i <= moveCount_; ++i) {
        text += Letter(moves_[i].X);
        text += Letter(moves_[i].Y);
    }
    return text;
}

std::string TGoBoard::MovesAfterText(int n) const
{
    n = std::max(n, 0);
    if (moveCount_ - n <= 0)
        return {};
    std::string text = NumToCode2(moveCount_ - n);
    for (int i = n + 1; i <= moveCount_; ++i) {
        text += Letter(moves_[i].X);
        text += Letter(moves_[i].Y);
    }
    return text;
}

std::string TGoBoard::NumberedMovesText() const
{
    std::string text = NumToCode2(firstNumbered_ + 1) + NumToCode2(moveCount_ - firstNumbered_ + 1);
    for (int i = std::max(firstNumbered_, 0); i <= moveCount_; ++i) {
        text += Letter(moves_[i].X);
        text += Letter(moves_[i].Y);
    }
    return text;
}

std::string TGoBoard::RecordLinesText() const
{
    std::string text;
    for (int i = 1; i <= moveCount_; ++i) {
        const bool odd = i % 2 == 1;
        const bool black = handicap_ < 2 ? odd : !odd;
        text += "PM" + NumToCode2(i);
        text += black ? 'B' : 'W';
        text += Letter(moves_[i].X);
        text += Letter(moves_[i].Y);
        text += Letter(moves_[i].Y);
        text += Letter(moves_[i].X);
        text += "\r\n";
    }
    return text;
}

std::string TGoBoard::HandicapText() const
{
    return HandicapName(handicap_);
}

void TGoBoard::PointChanged(int x, int y)
{
    if (OnPointChange)
        OnPointChange(*this, x, y, marks_[y][x], board_[y][x]);
}

void TGoBoard::RaiseMove(bool advanced)
{
    if (OnMove)
        OnMove(*this, {curX_, curY_, moveCount_, whitePrisoners_, blackPrisoners_, colourToMove_}, advanced);
}

void TGoBoard::SwapColours()
{
    std::swap(colourToMove_, opponentColour_);
}

} // namespace zel
