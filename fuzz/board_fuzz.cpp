// Drives one board with moves, passes, undos, redos, handicaps, snapshots
// and dead lists taken from the input, and checks after every step that no
// group is left without a liberty and that the prisoners match the stones
// taken off. The capture reader and the letter decoders get the same input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/engine/CaptureReader.h"
#include "core/engine/GoBoard.h"
#include "core/engine/LetterCodes.h"

namespace {

using namespace zel;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool GroupHasLiberty(const TGoBoard& b, int x0, int y0, std::uint8_t colour)
{
    bool seen[20][20] = {};
    int stack[361][2];
    int top = 0;
    stack[top][0] = x0;
    stack[top++][1] = y0;
    seen[y0][x0] = true;
    while (top > 0) {
        const int x = stack[--top][0], y = stack[top][1];
        const int d[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (auto& o : d) {
            const int nx = x + o[0], ny = y + o[1];
            if (!TGoBoard::IsOnBoard(nx, ny) || seen[ny][nx])
                continue;
            if (b.Colour(nx, ny) == kEmpty)
                return true;
            if (b.Colour(nx, ny) == colour) {
                seen[ny][nx] = true;
                stack[top][0] = nx;
                stack[top++][1] = ny;
            }
        }
    }
    return false;
}

int CheckBoard(const TGoBoard& b)
{
    int stones = 0;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            if (b.Colour(x, y) != kEmpty) {
                ++stones;
                Check(b.Colour(x, y) <= kWhite);
                Check(GroupHasLiberty(b, x, y, b.Colour(x, y)));
            }
    // Every captured stone is counted for the side whose move took it.
    const TCaptureHistory& c = b.Captures();
    Check(c.Count >= 0 && c.Count <= kMaxCaptures);
    int byBlack = 0, byWhite = 0;
    for (int i = 0; i < c.Count; ++i) {
        Check(c.Items[i].MoveIndex >= 0 && c.Items[i].MoveIndex < b.MoveCount());
        (b.Move(c.Items[i].MoveIndex + 1).Colour == kBlack ? byBlack : byWhite) += 1;
    }
    Check(b.BlackPrisoners() == byBlack && b.WhitePrisoners() == byWhite);
    Check(b.MoveCount() >= 0 && b.MoveCount() <= kMaxMoves);
    return stones;
}

std::string Position(const TGoBoard& b)
{
    std::string p;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            p += b.Colour(x, y) == kBlack ? 'B' : b.Colour(x, y) == kWhite ? 'W' : '-';
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)Code2ToNum(text);
    (void)LetterToNum(text);

    TGoBoard board;
    TStack clicks;
    TCaptureReader reader;
    int handicapStones = 0;
    std::size_t i = 0;
    auto next = [&]() -> int { return i < size ? data[i++] : 0; };
    while (i < size) {
        const int op = next() % 16;
        if (op < 9) {
            const int x = next() % 21, y = next() % 21;
            const bool legal = board.IsLegalMove(x, y);
            Check(board.PlayAt(x, y) == legal);
        } else if (op == 9) {
            board.PlayPass();
        } else if (op == 10) {
            board.Undo();
        } else if (op == 11) {
            board.Redo();
        } else if (op == 12) {
            board.ResetGame();
            board.SetHandicap(next() % 22, static_cast<std::uint8_t>(next() % 2));
            handicapStones = CheckBoard(board);
        } else if (op == 13) {
            TGoSnapshot s;
            board.SaveSnapshot(s);
            TGoBoard copy;
            copy.LoadSnapshot(s);
            Check(copy.GameText() == board.GameText());
            (void)board.RecordLinesText();
            (void)board.NumberedMovesText();
            (void)board.MovesAfterText(next() - 10);
        } else if (op == 14) {
            const int x = next() % 20 + 1, y = next() % 20 + 1;
            const std::string position = Position(board);
            (void)reader.IsCapturable(position, y, x);
            (void)reader.IsUnsafeMove(position, y, x, next() % 2 ? 'B' : 'W');
        } else {
            // The dead-stone phase ends the game: mark, then remove.
            const std::size_t length = static_cast<std::size_t>(next() % 16);
            const std::string_view list = text.substr(std::min(i, size), length);
            const int before = CheckBoard(board);
            const int prisoners = board.BlackPrisoners() + board.WhitePrisoners();
            board.ApplyDeadList(list, false, clicks);
            board.ApplyDeadList(list, true, clicks);
            int stones = 0;
            for (int y = 1; y <= 19; ++y)
                for (int x = 1; x <= 19; ++x)
                    stones += board.Colour(x, y) != kEmpty ? 1 : 0;
            Check(board.BlackPrisoners() + board.WhitePrisoners() - prisoners == before - stones);
            clicks.Push(next() % 21, next() % 21);
            (void)board.DeadListText(clicks);
            int black = 0, white = 0;
            board.CountScore(black, white);
            Check(black >= board.BlackPrisoners() && white >= board.WhitePrisoners());
            return 0;
        }
        const int stones = CheckBoard(board);
        // Stones on the board: handicap stones and stone moves, less captures.
        int placed = handicapStones;
        for (int m = 1; m <= board.MoveCount(); ++m)
            placed += board.Move(m).X > 0 ? 1 : 0;
        Check(stones == placed - board.Captures().Count);
    }
    return 0;
}
