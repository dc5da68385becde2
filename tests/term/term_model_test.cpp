#include "core/term/TermModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/Cp949.h"

namespace zel {
namespace {

struct Recorder {
    std::vector<std::string> packets;
    std::vector<std::string> lines;
    int changes = 0;
    void Attach(TTermModel& t)
    {
        t.OnPacket = [this](const std::string& s) { packets.push_back(s); };
        t.OnLine = [this](const std::string& s) { lines.push_back(s); };
        t.OnChange = [this] { ++changes; };
    }
};

std::string Esc(const std::string& seq)
{
    return "\x1b" + seq;
}

TEST(TermModel, ClearScreenPushesEveryRowButClearWithUDoesNot)
{
    TTermModel t;
    t.Feed("first\r\nsecond");
    const int rows = t.Rows();
    t.Feed(Esc("[2J"));
    EXPECT_EQ(t.SBarMax(), rows);
    EXPECT_EQ(t.RowText(1), "");
    EXPECT_EQ(t.RowText(2), "");
    const auto& sb = t.ScrollBack();
    EXPECT_EQ(sb.Count(), rows);
    std::string pushed;
    for (int i = 0; i < 2; ++i)
        for (const auto& c : sb.Line(i))
            if (c.ch)
                pushed.push_back(static_cast<char>(c.ch));
    EXPECT_EQ(pushed, "firstsecond");

    TTermModel u;
    u.Feed("first\r\nsecond" + Esc("[U"));
    EXPECT_EQ(u.SBarMax(), 0);
    EXPECT_EQ(u.RowText(1), "");
    EXPECT_EQ(u.CsrXPos(), 1);
    EXPECT_EQ(u.CsrYPos(), 1);
}

TEST(TermModel, ColourAttributes)
{
    struct Row {
        std::string seq;
        int fg, bg;
    };
    const Row rows[] = {
        {"[1;31m", 3, 10},      {"[31m", 4, 10},         {"[1;37;44m", 15, 10}, {"[34;47m", 10, 16},
        {"[31;42m[0m", 15, 10}, {"[1;33m[2;33m", 8, 10}, {"[35;41m[7m", 4, 12}, {"[36m[8m", 10, 10},
        {"[m", 15, 10},         {"[5;4;6m", 15, 10},     {"[1;2;3;32m", 6, 10}, {"[99;30m", 2, 10},
    };
    for (const auto& r : rows) {
        TTermModel t;
        std::string bytes;
        for (std::size_t a = 0, b; a < r.seq.size(); a = b) {
            b = r.seq.find('m', a) + 1;
            bytes += Esc(r.seq.substr(a, b - a));
        }
        t.Feed(bytes + "x");
        EXPECT_EQ(t.Cell(1, 1).fg, r.fg) << r.seq;
        EXPECT_EQ(t.Cell(1, 1).bg, r.bg) << r.seq;
    }
}

TEST(TermModel, WrapKeepsTheLastColumnFreeAndWideCharactersWhole)
{
    TTermModel t;
    t.Feed(std::string(79, 'a'));
    EXPECT_EQ(t.RowText(1), std::string(79, 'a'));
    EXPECT_EQ(t.CsrYPos(), 1);
    EXPECT_EQ(t.CsrXPos(), 80);
    t.Feed("b");
    EXPECT_EQ(t.RowText(2), "b");
    EXPECT_EQ(t.CsrXPos(), 2);

    TTermModel w;
    const std::string ga = KS("가");
    w.Feed(std::string(78, 'a') + ga);
    EXPECT_EQ(w.RowText(1), std::string(78, 'a'));
    EXPECT_EQ(w.RowText(2), ga);
    EXPECT_EQ(w.CsrXPos(), 3);

    // A lead byte at the end of one block pairs with the first of the next.
    TTermModel s;
    s.Feed(ga.substr(0, 1));
    s.Feed(ga.substr(1) + "x");
    EXPECT_EQ(s.RowText(1), ga + "x");
}

TEST(TermModel, BareCarriageReturnBeforeTextStartsANewLine)
{
    struct Row {
        std::string in;
        std::vector<std::string> screen;
    };
    const Row rows[] = {
        {"abc\rdef", {"abc", "def"}}, {"abc\r\ndef", {"abc", "def"}},
        {"\rdef", {"def"}},           {"abc\r" + KS("한"), {"abc", KS("한")}},
        {"abc\r\x1b[Kdef", {"def"}},  {"ab\bc", {"ac"}},
        {"a\tb", {"a       b"}},
    };
    for (const auto& r : rows) {
        TTermModel t;
        t.Feed(r.in);
        for (std::size_t i = 0; i < r.screen.size(); ++i)
            EXPECT_EQ(t.RowText(static_cast<int>(i) + 1), r.screen[i]) << r.in;
        EXPECT_EQ(t.RowText(static_cast<int>(r.screen.size()) + 1), "") << r.in;
    }
}

TEST(TermModel, ScrollBackKeepsTheLast150LinesAndSBarMaxStopsAt149)
{
    TTermModel t;
    const int rows = t.Rows();
    auto pushLines = [&](int from, int to) {
        for (int i = from; i <= to; ++i)
            t.Feed("line" + std::to_string(i) + "\r\n");
    };
    auto oldest = [&] {
        std::string s;
        for (const auto& c : t.ScrollBack().Line(0))
            if (c.ch)
                s.push_back(static_cast<char>(c.ch));
        return s;
    };
    // The first rows - 1 lines fill the screen; every further line pushes one.
    pushLines(1, rows - 1 + 150);
    EXPECT_EQ(t.SBarMax(), 149);
    EXPECT_EQ(t.ScrollBack().Count(), 150);
    EXPECT_EQ(oldest(), "line1");
    pushLines(rows + 150, rows + 150);
    EXPECT_EQ(t.SBarMax(), 149);
    EXPECT_EQ(oldest(), "line2");
    EXPECT_EQ(t.SBarPos(), 149);

    // The view at the top shows old lines above the live screen.
    t.SetSBarPos(149 - 2);
    std::string top;
    for (const auto& c : t.ViewRow(1))
        if (c.ch)
            top.push_back(static_cast<char>(c.ch));
    EXPECT_EQ(top, "line150");
    t.Feed("x");
    EXPECT_TRUE(t.ViewAtEnd());
}

TEST(TermModel, CursorMovesAndErasing)
{
    struct Row {
        std::string in;
        int col, row;
        std::vector<std::string> screen;
    };
    const Row rows[] = {
        {"\x1b[5;10H", 10, 5, {}},
        {"\x1b[5;10f\x1b[2A", 10, 3, {}},
        {"\x1b[3;3H\x1b[9A", 3, 1, {}},
        {"\x1b[B\x1b[3C", 4, 2, {}},
        {"\x1b[200C", 80, 1, {}},
        {"abcdef\x1b[2D", 5, 1, {"abcd f"}},
        {"abcdef\x1b[3D\x1b[K", 4, 1, {"abc"}},
        {"abcdef\x1b[3D\x1b[1K", 4, 1, {"    ef"}},
        {"abcdef\x1b[2K", 7, 1, {""}},
        {"ab\r\ncd\r\nef\x1b[2;1H\x1b[J", 1, 2, {"ab", "", ""}},
        {"ab\r\ncd\r\nef\x1b[3;1H\x1b[1J", 1, 3, {"", "", "ef"}},
        {"\x1b[2;4H\x1b[s\x1b[9;9H\x1b[u", 4, 2, {}},
        {"\x1b[2;4H\x1b"
         "7\x1b[9;9H\x1b"
         "8x",
         5,
         2,
         {"", "   x"}},
        {"\x1b[0;0H", 1, 1, {}},
        {"\x1b[2E", 1, 3, {}},
    };
    for (const auto& r : rows) {
        TTermModel t;
        t.Feed(r.in);
        EXPECT_EQ(t.CsrXPos(), r.col) << r.in;
        EXPECT_EQ(t.CsrYPos(), r.row) << r.in;
        for (std::size_t i = 0; i < r.screen.size(); ++i)
            EXPECT_EQ(t.RowText(static_cast<int>(i) + 1), r.screen[i]) << r.in;
    }
}

TEST(TermModel, ScrollRegionsAndLineFeedAtTheBottom)
{
    TTermModel t;
    t.Resize(80, 10);
    t.Feed("\x1b[2;5r\x1b[1;1Htop\x1b[2;1Ha\r\nb\r\nc\r\nd\r\ne");
    // Rows 2..5 scrolled once: "a" went to the scroll-back, row 1 stayed.
    EXPECT_EQ(t.RowText(1), "top");
    EXPECT_EQ(t.RowText(2), "b");
    EXPECT_EQ(t.RowText(5), "e");
    EXPECT_EQ(t.CsrYPos(), 5);
    EXPECT_EQ(t.SBarMax(), 1);
    EXPECT_EQ(t.Top(), 2);
    EXPECT_EQ(t.Bottom(), 5);

    // Explicit moves below the region do not scroll it.
    t.Feed("\x1b[6;1Hx");
    EXPECT_EQ(t.RowText(6), "x");
    EXPECT_EQ(t.SBarMax(), 1);

    // ESC [ S scrolls the region once; an invalid region is ignored.
    t.Feed("\x1b[S\x1b[9;3r");
    EXPECT_EQ(t.RowText(2), "c");
    EXPECT_EQ(t.Top(), 2);
    t.Feed("\x1b[r");
    EXPECT_EQ(t.Top(), 1);
    EXPECT_EQ(t.Bottom(), 10);

    // A line feed on the last row scrolls the whole screen.
    t.Feed("\x1b[10;1Hlast\n");
    EXPECT_EQ(t.RowText(9), "last");
    EXPECT_EQ(t.CsrYPos(), 10);
}

TEST(TermModel, PacketAndLineEvents)
{
    TTermModel t;
    Recorder rec;
    rec.Attach(t);
    t.Feed("hello\r\n\r\n>M<x\\#" + KS("한") + "\r\nrest");
    ASSERT_EQ(rec.packets.size(), 2u);
    EXPECT_EQ(rec.packets[0], "hello");
    EXPECT_EQ(rec.packets[1], ">M<x\\#" + KS("한"));
    EXPECT_FALSE(rec.lines.empty());
    EXPECT_EQ(rec.lines.back(), "rest");
    t.Feed("\x1b[2J");
    EXPECT_GT(rec.changes, 0);
}

TEST(TermModel, LocalNoticesLeaveTheServerStreamIntact)
{
    TTermModel t;
    Recorder rec;
    rec.Attach(t);
    const std::string ga = KS("가");
    t.Feed(">M<a" + ga.substr(0, 1));
    t.WriteLocal("   ### notice");
    t.Feed(ga.substr(1) + "\x1b[1");
    t.WriteLocal("second");
    t.Feed(";31mz\r\n");
    ASSERT_EQ(rec.packets.size(), 1u);
    EXPECT_EQ(rec.packets[0], ">M<a" + ga + "z");
    EXPECT_EQ(t.RowText(1), ">M<a");
    EXPECT_EQ(t.RowText(2), "   ### notice");
    EXPECT_EQ(t.RowText(3), ga);
    EXPECT_EQ(t.RowText(4), "second");
    EXPECT_EQ(t.RowText(5), "z");
    EXPECT_EQ(t.Cell(5, 1).fg, 3);
}

TEST(TermModel, EscapeStateSwallowsUnknownBytesAndKeepsParametersShort)
{
    TTermModel t;
    t.Feed("\x1b(Bx\x1b[" + std::string(500, '1') + ";5Hy\x1b[1;2;3;4;5;6mz");
    // '(' ends the sequence; the over-long parameter text is cut, so the
    // cursor goes home and "y" lands on the "B".
    EXPECT_EQ(t.RowText(1), "yz");
    EXPECT_TRUE(t.CsrYPos() >= 1 && t.CsrYPos() <= t.Rows());
}

TEST(TermModel, SetColoursReplacesTheOldDefaults)
{
    TTermModel t;
    t.Feed("a\x1b[31mb");
    t.SetColours(2, 16);
    EXPECT_EQ(t.Cell(1, 1).fg, 2);
    EXPECT_EQ(t.Cell(1, 1).bg, 16);
    EXPECT_EQ(t.Cell(1, 2).fg, 4);
    EXPECT_EQ(t.Cell(1, 2).bg, 16);
    EXPECT_EQ(t.Cell(1, 5).bg, 16);
}

TEST(TermModel, ResizeBoundsGeometryAndCursor)
{
    TTermModel t;
    t.Feed("\x1b[25;70H");
    t.Resize(40, 2);
    EXPECT_EQ(t.Rows(), 5);
    EXPECT_EQ(t.Columns(), 40);
    EXPECT_EQ(t.CsrYPos(), 5);
    t.Feed("xy");
    // Column 70 lies beyond the 40 columns: the text wraps onto a new last row.
    EXPECT_EQ(t.RowText(5), "xy");
    t.Resize(200, 500);
    EXPECT_EQ(t.Columns(), 80);
    EXPECT_EQ(t.Rows(), TTermModel::kMaxRows);
    EXPECT_EQ(t.Bottom(), TTermModel::kMaxRows);
}

TEST(TermModel, DamageReportsChangedRowsOnly)
{
    TTermModel t;
    t.ClearDamage();
    t.Feed("\x1b[3;1Hx");
    for (int r = 1; r <= t.Rows(); ++r)
        EXPECT_EQ(t.RowDirty(r), r == 3) << r;
}

} // namespace
} // namespace zel
