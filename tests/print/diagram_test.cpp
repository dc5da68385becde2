// Diagrams of printed records, compared as pictures: "X"/"O" a stone, with
// its number or label, "." an empty point; notes as "occupant - moves _".
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/base/Cp949.h"
#include "core/print/Diagram.h"
#include "core/print/PrintJob.h"

namespace zel {
namespace {

using Moves = std::vector<std::pair<int, int>>;

TMoveTable Table(const Moves& moves)
{
    TMoveTable t;
    t.Last = static_cast<int>(moves.size());
    for (std::size_t i = 0; i < moves.size(); ++i)
        t.Points[i + 1] = {static_cast<std::uint8_t>(moves[i].first), static_cast<std::uint8_t>(moves[i].second)};
    return t;
}

std::string Cell(const TGridEntry& e)
{
    if (!e.HasStone())
        return e.Label() ? std::string(1, e.Label()) : ".";
    std::string s = e.Colour() == TGridEntry::kBlack ? "X" : "O";
    if (e.Label())
        s += e.Label();
    else if (e.Number >= 0)
        s += std::to_string(e.Number);
    return s;
}

// Rows y0..y1 of columns x0..x1, cells right-aligned in four characters.
std::vector<std::string> Picture(const LDispGGrid& board, int x0, int y0, int x1, int y1)
{
    std::vector<std::string> rows;
    for (int y = y0; y <= y1; ++y) {
        std::string row;
        for (int x = x0; x <= x1; ++x) {
            const std::string c = Cell(board.Point(x, y));
            row += std::string(4 - c.size(), ' ') + c;
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> NotesPicture(const LDispGGrid& notes)
{
    std::vector<std::string> rows;
    for (int r = 0; r < notes.UsedRows(); ++r) {
        std::string row;
        int used = LDispGGrid::kColumns;
        while (used > 0 && notes.Entry(r, used - 1) == TGridEntry{})
            --used;
        for (int c = 0; c < used; ++c) {
            const TGridEntry e = notes.Entry(r, c);
            row += (c ? " " : "") + (e == TGridEntry{} ? std::string("_") : Cell(e));
        }
        rows.push_back(row + " _");
    }
    return rows;
}

struct DiagramCase {
    const char* name;
    Moves moves;
    int first, last, handicap;
    std::vector<std::string> picture; // columns 1..5 of rows 1..4
    std::vector<std::string> notes;
};

TEST(Diagram, FromMoveTables)
{
    const DiagramCase cases[] = {
        {"a move on an occupied point goes to the notes",
         {{2, 1}, {1, 1}, {1, 2}, {5, 4}, {1, 1}},
         1,
         5,
         0,
         {"  O2  X1   .   .   .", "  X3   .   .   .   .", "   .   .   .   .   .", "   .   .   .   .  O4"},
         {"O2 - X5 _"}},
        {"earlier stones are labelled in order of need",
         // Before move 6: B (1,1), W (2,1), B (5,1), W (4,1) and B (3,3); moves
         // 10 and 12 come back to (5,1) and (1,1), in that order.
         {{1, 1}, {2, 1}, {5, 1}, {4, 1}, {3, 3}, {1, 2}, {10, 10}, {5, 2}, {11, 11}, {5, 1}, {12, 12}, {1, 1}},
         6,
         12,
         0,
         {"  Xb   O   .   O  Xa", "  O6   .   .   .  O8", "   .   .   X   .   .", "   .   .   .   .   ."},
         {"Xa - O10 _ Xb - O12 _"}},
        {"two moves on one point share one group",
         {{3, 3}, {4, 4}, {3, 3}, {5, 4}, {3, 3}, {4, 4}},
         1,
         6,
         0,
         {"   .   .   .   .   .", "   .   .   .   .   .", "   .   .  X1   .   .", "   .   .   .  O2  O4"},
         {"X1 - X3 X5 _ O2 - O6 _"}},
        {"a range beyond the record is cut at its last move",
         {{1, 1}, {2, 1}, {3, 1}, {4, 1}},
         3,
         100,
         0,
         {"   X   O  X3  O4   .", "   .   .   .   .   .", "   .   .   .   .   .", "   .   .   .   .   ."},
         {}},
        {"passes alternate the colour",
         {{1, 1}, {0, 0}, {2, 2}, {3, 3}, {0, 0}, {0, 0}, {4, 4}},
         1,
         7,
         0,
         {"  X1   .   .   .   .", "   .  X3   .   .   .", "   .   .  O4   .   .", "   .   .   .  X7   ."},
         {}},
        {"white starts after handicap stones",
         {{3, 3}, {5, 3}},
         1,
         2,
         2,
         {"   .   .   .   .   .", "   .   .   .   .   .", "   .   .  O1   .  X2", "   .   .   .   .   ."},
         {}},
    };
    for (const DiagramCase& c : cases) {
        LDispGGrid board;
        LDispGGrid notes;
        BuildDiagram(kNotesWide, c.first, board, notes, Table(c.moves), c.handicap, 0, c.last);
        EXPECT_EQ(Picture(board, 1, 1, 5, 4), c.picture) << c.name;
        EXPECT_EQ(NotesPicture(notes), c.notes) << c.name;
    }
}

TEST(Diagram, NotesHoldWholeGroupsPerLine)
{
    // Eight captures-and-retakes on eight points: groups of four cells, so a
    // line of 25 holds six and the rest start the next line.
    Moves moves;
    for (int k = 0; k < 8; ++k)
        moves.push_back({k + 1, 19});
    for (int k = 0; k < 8; ++k)
        moves.push_back({k + 1, 19});
    LDispGGrid board;
    LDispGGrid notes;
    BuildDiagram(kNotesNarrow, 1, board, notes, Table(moves), 0, 0, 16);
    const std::vector<std::string> want = {
        "X1 - X9 _ O2 - O10 _ X3 - X11 _ O4 - O12 _ X5 - X13 _ O6 - O14 _",
        "X7 - X15 _ O8 - O16 _",
    };
    EXPECT_EQ(NotesPicture(notes), want);
}

TEST(Diagram, LongGroupGoesOnOverTheNextLine)
{
    Moves moves(30, {10, 10});
    LDispGGrid board;
    LDispGGrid notes;
    BuildDiagram(kNotesNarrow, 1, board, notes, Table(moves), 0, 0, 30);
    // The occupant, the separator and 29 moves: no move is lost.
    int stones = 0;
    for (int r = 0; r < notes.UsedRows(); ++r)
        for (int c = 0; c < LDispGGrid::kColumns; ++c)
            stones += notes.Entry(r, c).HasStone();
    EXPECT_EQ(stones, 30);
    EXPECT_EQ(notes.Entry(1, 0).Number, 25);
}

TEST(Diagram, VariationIsNumberedFromOneWithItsLetters)
{
    // Moves 1..4 of the game, then a commentary at move 3: its first point
    // repeats move 2, then two moves, a pass and one more; marks A and C.
    const TMoveTable game = Table({{4, 4}, {16, 16}, {16, 4}, {4, 16}});
    const TPrintCommentary c{3, "AF"
                                "QQ"
                                "CC"
                                "DC"
                                "AA"
                                "CD"
                                "\\#"
                                "AD"
                                "EEXC"
                                "FCXE"
                                "CCYK"
                                "\\#"
                                "text"};
    const auto v = ParsePrintVariation(c);
    ASSERT_TRUE(v);
    LDispGGrid board;
    LDispGGrid notes;
    BuildVariationDiagram(game, 0, *v, board, notes);
    const std::vector<std::string> want = {
        "   .   .   .   .   .   .",
        "   .  X1  O2   .   C   .",
        "   .  O4   .   .   .   .",
        "   .   .   .  XA   .   .",
    };
    EXPECT_EQ(Picture(board, 1, 1, 6, 4), want);
    EXPECT_EQ(Cell(board.Point(16, 16)), "O"); // move 2 of the game, unnumbered
    EXPECT_EQ(Cell(board.Point(16, 4)), ".");  // move 3 replaced by the variation
    EXPECT_EQ(Cell(board.Point(2, 2)), "X1");  // mark 634 (a symbol) is no label
}

TEST(Diagram, LabelsPrintAsHangulUpToHa)
{
    EXPECT_EQ(LabelText('a'), Utf8ToCp949("가"));
    EXPECT_EQ(LabelText('n'), Utf8ToCp949("하"));
    EXPECT_EQ(LabelText('o'), "o");
    EXPECT_EQ(LabelText('-'), "-");
    EXPECT_EQ(LabelText('A'), "A");
}

} // namespace
} // namespace zel
