#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/Cp949.h"
#include "core/term/ChatTermModel.h"
#include "core/term/HistoryBuffer.h"
#include "core/term/InputLine.h"

namespace zel {
namespace {

TEST(ChatTerm, AddTextWrapsAtTheLastColumn)
{
    TChatTermModel t;
    t.AddText(std::string(100, 'a'), true);
    EXPECT_EQ(t.RowText(1), std::string(80, 'a'));
    EXPECT_EQ(t.RowText(2), std::string(20, 'a'));
    EXPECT_EQ(t.CsrYPos(), 3);
    EXPECT_EQ(t.CsrXPos(), 1);

    // A double-byte character that would pass the last column moves whole.
    const std::string ga = KS("가");
    t.AddText(std::string(79, 'b') + ga, false);
    EXPECT_EQ(t.RowText(3), std::string(79, 'b'));
    EXPECT_EQ(t.RowText(4), ga);
    EXPECT_EQ(t.Row(4)[0].runStart, 1);
}

TEST(ChatTerm, ScrollBackOf750AndClear)
{
    TChatTermModel t;
    for (int i = 0; i < 800; ++i)
        t.AddText("line" + std::to_string(i), true);
    EXPECT_EQ(t.SBarMax(), 749);
    EXPECT_EQ(t.ScrollBack().Count(), 750);
    EXPECT_EQ(t.RowText(t.Rows() - 1), "line799");
    t.SetSBarPos(0);
    EXPECT_EQ(t.SBarPos(), 0);
    t.Clear();
    EXPECT_EQ(t.RowText(1), "");
    EXPECT_EQ(t.CsrYPos(), 1);
    EXPECT_EQ(t.SBarMax(), 749);
    t.Resize(300, 300);
    EXPECT_EQ(t.Columns(), 80);
    EXPECT_EQ(t.Rows(), TChatTermModel::kMaxRows);
}

TEST(HistoryBuffer, CommitRecallAndDropNext)
{
    TBuffer b;
    b.Commit("one", true);
    b.Commit("two", true);
    EXPECT_EQ(b.Previous(), "two");
    EXPECT_EQ(b.Recall("typing", TBuffer::Key::Up), "two");
    EXPECT_EQ(b.Recall("two", TBuffer::Key::Up), "one");
    EXPECT_EQ(b.Next(), "two");
    b.DropNext();
    EXPECT_EQ(b.Next(), "typing");
    // Wrapping below zero stays inside the ring.
    for (int i = 0; i < 120; ++i)
        b.Recall("", TBuffer::Key::Up);
    EXPECT_GE(b.Current(), 0);
    EXPECT_LT(b.Current(), TBuffer::kLines);
}

TEST(InputLine, HistoryKeysAndLines)
{
    TInputLine in;
    std::vector<std::string> lines;
    in.OnLine = [&](const std::string& s) { lines.push_back(s); };

    // Up on an empty history shows empty lines; the typed text comes back with Down.
    in.SetText("half", 4);
    EXPECT_TRUE(in.KeyDown(TInputLine::Key::Up, false));
    EXPECT_EQ(in.Text(), "");
    EXPECT_EQ(in.PreviousLine(), "");
    EXPECT_EQ(in.NextLine(), "half");
    EXPECT_TRUE(in.KeyDown(TInputLine::Key::Down, false));
    EXPECT_EQ(in.Text(), "half");
    EXPECT_EQ(in.Caret(), 4u);

    // Enter commits, clears and raises OnLine; an empty line is raised too.
    in.KeyDown(TInputLine::Key::Other, false);
    EXPECT_TRUE(in.KeyPress(13));
    EXPECT_TRUE(in.KeyPress(13));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "half");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(in.Text(), "");
    in.KeyDown(TInputLine::Key::Up, false);
    in.KeyDown(TInputLine::Key::Up, false);
    EXPECT_EQ(in.Text(), "half");

    // Ctrl+C passes on the single control character 3.
    in.KeyDown(TInputLine::Key::Other, true);
    EXPECT_TRUE(in.KeyPress(3));
    EXPECT_EQ(lines.back(), "\x03");
    in.KeyDown(TInputLine::Key::Other, false);
    EXPECT_FALSE(in.KeyPress('c'));
}

TEST(InputLine, EditKeysAtTheEdges)
{
    TInputLine in;
    in.SetText("", 0);
    in.KeyPress(13);
    in.SetText("abc", 0);
    EXPECT_TRUE(in.KeyDown(TInputLine::Key::Backspace, false));
    EXPECT_TRUE(in.KeyDown(TInputLine::Key::Left, false));
    in.SetText("abc", 1);
    EXPECT_FALSE(in.KeyDown(TInputLine::Key::Backspace, false));
    EXPECT_FALSE(in.KeyDown(TInputLine::Key::Right, false));

    // Right at the end pulls in the next entry and removes it from the window.
    TInputLine h;
    h.SetText("first", 5);
    h.KeyPress(13);
    h.SetText("second", 6);
    h.KeyPress(13);
    h.KeyDown(TInputLine::Key::Up, false);
    h.KeyDown(TInputLine::Key::Up, false);
    EXPECT_EQ(h.Text(), "first");
    EXPECT_EQ(h.NextLine(), "second");
    EXPECT_TRUE(h.KeyDown(TInputLine::Key::Right, false));
    EXPECT_EQ(h.Text(), "firstsecond");
    EXPECT_NE(h.NextLine(), "second");
}

} // namespace
} // namespace zel
