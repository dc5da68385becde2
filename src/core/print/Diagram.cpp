#include "core/print/Diagram.h"

#include <algorithm>
#include <vector>

#include "core/base/Cp949.h"
#include "core/engine/GoBoard.h"

namespace zel {
namespace {

// Labels run 'a'..'z', then 'A'..'Z'; later stones go without one.
char StoneLabel(int index)
{
    if (index < 26)
        return static_cast<char>('a' + index);
    if (index < 52)
        return static_cast<char>('A' + index - 26);
    return 0;
}

struct TNoteGroup {
    int X = 0, Y = 0;
    std::vector<TGridEntry> Entries; // the occupant, the separator, the moves
};

TGridEntry Stone(int colour, int number)
{
    TGridEntry e;
    e.SetColour(colour);
    e.Number = static_cast<std::int16_t>(number);
    return e;
}

void LayOutNotes(const std::vector<TNoteGroup>& groups, int width, LDispGGrid& notes)
{
    width = std::clamp(width, 4, LDispGGrid::kColumns);
    int row = 0;
    int column = 0;
    for (const TNoteGroup& g : groups) {
        const int size = static_cast<int>(g.Entries.size()) + 1; // and its end mark
        if (column > 0 && column + size > width) {
            ++row;
            column = 0;
        }
        for (const TGridEntry& e : g.Entries) {
            if (column == width) {
                ++row;
                column = 0;
            }
            notes.At(row, column++) = e;
        }
        if (column < width)
            notes.At(row, column++) = TGridEntry{}; // the end mark is an empty cell
        if (column == width) {
            ++row;
            column = 0;
        }
    }
}

} // namespace

void BuildDiagram(int notesWidth, int first, LDispGGrid& board, LDispGGrid& notes, const TMoveTable& moves,
                  int handicap, int numberOffset, int last)
{
    board = LDispGGrid{};
    notes = LDispGGrid{};
    const int lastMove = std::clamp(moves.Last, 0, kMaxMoves);
    first = std::max(first, 1);
    last = std::min(last, lastMove);

    TGoBoard position;
    if (handicap >= 2)
        position.SetHandicap(handicap, 0);
    for (int i = 1; i < first && i <= lastMove; ++i) {
        const auto& p = moves.Points[static_cast<std::size_t>(i)];
        if (p[0] == 0 || !position.PlayAt(p[0], p[1]))
            position.PlayPass();
    }
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x) {
            const std::uint8_t c = position.Colour(x, y);
            if (c != kEmpty)
                board.PointAt(x, y).SetColour(c == kBlack ? TGridEntry::kBlack : TGridEntry::kWhite);
        }

    int colour = position.ColourToMove() == kBlack ? TGridEntry::kBlack : TGridEntry::kWhite;
    int labels = 0;
    std::vector<TNoteGroup> groups;
    for (int i = first; i <= last; ++i, colour ^= 1) {
        const auto& p = moves.Points[static_cast<std::size_t>(i)];
        const int x = p[0];
        const int y = p[1];
        if (!TGoBoard::IsOnBoard(x, y))
            continue;
        const int number = numberOffset + i;
        TGridEntry& at = board.PointAt(x, y);
        if (!at.HasStone()) {
            at = Stone(colour, number);
            continue;
        }
        if (at.Number < 0 && at.Label() == 0) {
            const char label = StoneLabel(labels++);
            if (label != 0)
                at.SetLabel(label);
        }
        auto g = std::find_if(groups.begin(), groups.end(), [&](const TNoteGroup& n) { return n.X == x && n.Y == y; });
        if (g == groups.end()) {
            TGridEntry separator;
            separator.SetLabel(kSeparatorLabel);
            groups.push_back({x, y, {at, separator}});
            g = groups.end() - 1;
        }
        g->Entries.push_back(Stone(colour, number));
    }
    LayOutNotes(groups, notesWidth, notes);
}

std::string LabelText(char label)
{
    static const char* const kHangul[] = {"가", "나", "다", "라", "마", "바", "사",
                                          "아", "자", "차", "카", "타", "파", "하"};
    if (label >= 'a' && label <= 'n')
        return Utf8ToCp949(kHangul[label - 'a']);
    return std::string(1, label);
}

} // namespace zel
