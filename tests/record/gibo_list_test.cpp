#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/base/Cp949.h"
#include "core/record/GiboList.h"
#include "core/record/GiboText.h"
#include "core/record/HelpList.h"

namespace zel {
namespace {

// The list as "kind number data" lines in list order, with Current marked.
std::vector<std::string> Lines(const TGiboList& list)
{
    std::vector<std::string> out;
    for (TGoNode* node = list.Head()->Next; node != list.Head(); node = node->Next) {
        std::string text =
            (node->Kind == TGoNode::kMove ? "PM" : "VH") + std::to_string(node->Number) + " " + node->Data;
        if (node == list.Current())
            text += " <";
        out.push_back(text);
    }
    return out;
}

using Rows = std::vector<std::string>;

TEST(CutField, SplitsAtTheSeparatorOrLeavesTheSource)
{
    std::string source = "black\\#white\\#";
    std::string field;
    CutField(source, field);
    EXPECT_EQ(field, "black");
    CutField(source, field);
    EXPECT_EQ(field, "white");
    EXPECT_EQ(source, "");
    source = "no separator";
    field = "old";
    CutField(source, field);
    EXPECT_EQ(field, "");
    EXPECT_EQ(source, "no separator");

    std::string head;
    source = "ABCDE";
    CutHead(2, source, head);
    EXPECT_EQ(head, "AB");
    EXPECT_EQ(source, "CDE");
    CutHead(9, source, head);
    EXPECT_EQ(head, "CDE");
    EXPECT_EQ(source, "");
}

TEST(GiboList, PlacesLinesInMoveOrder)
{
    struct Case {
        const char* what;
        std::vector<std::string> input;
        Rows expected;
    };
    const Case cases[] = {
        {"moves in order extend the end", {"OOAAhead", "PMABBDEED", "PMACWEDDE"}, {"PM1 BDEED", "PM2 WEDDE <"}},
        {"commentary after its move",
         {"PMABBDEED", "VHABcomment", "PMACWEDDE"},
         {"PM1 BDEED", "VH1 comment", "PM2 WEDDE <"}},
        {"commentary read before its move: placed by search, Current stays",
         {"PMABBDEED", "VHACearly", "PMACWEDDE"},
         {"PM1 BDEED", "PM2 WEDDE <", "VH2 early"}},
        {"two commentaries on one move keep their order",
         {"PMABBDEED", "VHABfirst", "PMACWEDDE", "PMADBFFFF", "VHABsecond"},
         {"PM1 BDEED", "VH1 first", "VH1 second", "PM2 WEDDE", "PM3 BFFFF <"}},
        {"AA and ZZ are the smallest and largest numbers", {"VHAAzero", "PMZZBBBBB"}, {"VH0 zero", "PM675 BBBBB <"}},
        {"a move out of order goes after every lower number",
         {"PMABBDEED", "PMACWEDDE", "PMABBFFFF"},
         {"PM1 BDEED", "PM1 BFFFF <", "PM2 WEDDE"}},
        {"short lines are refused", {"PM", "VHA", ""}, {}},
        {"a header line in the middle fills the header, never a move",
         {"OOAAfirst", "PMABBDEED", "OOAAsecond"},
         {"PM1 BDEED <"}},
    };
    for (const auto& c : cases) {
        TGiboList list;
        for (const auto& line : c.input)
            list.AddLine(line);
        EXPECT_EQ(Lines(list), c.expected) << c.what;
    }
}

TEST(GiboList, HeaderLineFillsHead)
{
    TGiboList list;
    list.AddLine("OOAAblack\\#white\\#");
    list.AddLine("PMABBDEED");
    list.AddLine("OOAAnewer");
    EXPECT_EQ(list.Head()->Data, "newer");
    EXPECT_EQ(list.Head()->Kind, TGoNode::kHeader);
    EXPECT_EQ(list.MoveNodeCount(), 1);
}

// Header, move 1, a commentary on move 1, move 2 (a pass), move 3.
void LoadSample(TGiboList& list)
{
    for (const char* line : {"OOAAhead\\#", "PMABBDEED", "VHABABDE\\#AA\\#note\\!", "PMACWAAAA", "PMADBQEEQ"})
        list.AddLine(line);
    list.SetCurrent(list.Head());
}

TEST(GiboList, WalksMovesAndSteps)
{
    TGiboList list;
    LoadSample(list);
    EXPECT_FALSE(list.PrevMove()); // at Head
    EXPECT_FALSE(list.StepBack());

    ASSERT_TRUE(list.NextMove());
    EXPECT_EQ(list.Current()->Number, 1);
    EXPECT_EQ(list.StepX, 3);
    EXPECT_EQ(list.StepY, 4);
    ASSERT_TRUE(list.NextMove()); // over the commentary to the pass
    EXPECT_EQ(list.Current()->Number, 2);
    EXPECT_EQ(list.StepX, 0);
    EXPECT_EQ(list.StepY, 0);
    ASSERT_TRUE(list.NextMove());
    EXPECT_EQ(list.StepX, 16);
    EXPECT_EQ(list.StepY, 4);
    EXPECT_FALSE(list.NextMove());
    EXPECT_EQ(list.Current()->Number, 3);
    EXPECT_EQ(list.Forward, 1);

    ASSERT_TRUE(list.PrevMove());
    EXPECT_EQ(list.Current()->Number, 2);
    EXPECT_EQ(list.Forward, 0);
    ASSERT_TRUE(list.PrevMove()); // over the commentary
    EXPECT_EQ(list.Current()->Number, 1);
    EXPECT_FALSE(list.PrevMove()); // the previous node is Head
    EXPECT_EQ(list.Current()->Number, 1);

    // Single steps: move 1, the commentary, move 2.
    ASSERT_TRUE(list.StepForward());
    EXPECT_EQ(list.StepKind, 2);
    EXPECT_EQ(list.StepText, "ABABDE\\#AA\\#note\\!");
    ASSERT_TRUE(list.StepForward());
    EXPECT_EQ(list.StepKind, 1);
    // Back onto the commentary, then onto move 1 that the commentary follows:
    // the board already stands there.
    EXPECT_TRUE(list.StepBack());
    EXPECT_EQ(list.StepKind, 2);
    EXPECT_FALSE(list.StepBack());
    EXPECT_EQ(list.Current()->Number, 1);
    EXPECT_EQ(list.StepKind, 1);

    list.SetCurrent(list.Head()->Prev);
    EXPECT_FALSE(list.StepForward()); // the next node is Head
}

TEST(GiboList, SeekMoveLeavesCurrent)
{
    TGiboList list;
    LoadSample(list);
    list.NextMove();
    TGoNode* before = list.Current();
    ASSERT_TRUE(list.SeekMove(3));
    EXPECT_EQ(list.StepX, 16);
    EXPECT_EQ(list.StepY, 4);
    EXPECT_TRUE(list.SeekMove(2));
    EXPECT_EQ(list.StepX, 0);
    EXPECT_FALSE(list.SeekMove(4));
    EXPECT_EQ(list.Current(), before);
}

TEST(GiboList, DeleteCurrentMovesToANeighbour)
{
    TGiboList list;
    LoadSample(list);
    list.DeleteCurrent(); // Head stays
    EXPECT_EQ(list.NodeCount(), 4u);
    list.StepForward();
    list.StepForward(); // the commentary
    list.DeleteCurrent();
    EXPECT_EQ(list.Current()->Number, 1);
    EXPECT_EQ(list.NodeCount(), 3u);
    list.DeleteCurrent(); // move 1: the preceding node is Head
    EXPECT_EQ(list.Current()->Number, 2);
    list.DeleteCurrent();
    list.DeleteCurrent();
    EXPECT_EQ(list.Current(), list.Head());
    EXPECT_EQ(list.FileText(), "");
}

// A record read and written again must come back whole: a line whose number
// bytes would be written out differently (here as a line break) is left out
// when read, and a bare CR inside a line's data stays part of that line.
TEST(GiboList, RecordSurvivesItsOwnSave)
{
    const std::string text =
        std::string("OOAAhead\r\nPMABBDEED\r\n") + "PM\x0b'WEEE\r\n" + "PMACWQDDQ\rj~PMADBPDDP\r\nPMADBQEEQ\r\n";
    TGiboList list;
    ASSERT_TRUE(AddRecordText(text, list, 0));
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"PM1 BDEED", "PM2 WQDDQ\rj~PMADBPDDP", "PM3 BQEEQ <"}));
    const std::string saved = list.FileText();
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 4); // the header and three moves
    TGiboList again;
    ASSERT_TRUE(AddRecordText(saved, again, 0));
    EXPECT_EQ(again.NodeCount(), list.NodeCount());
    EXPECT_EQ(again.FileText(), saved);
}

TEST(GiboList, TextsForFilesReviewAndPrinting)
{
    TGiboList list;
    LoadSample(list);
    EXPECT_EQ(list.FileText(), "OOAAhead\\#\r\nPMABBDEED\r\nVHABABDE\\#AA\\#note\\!\r\nPMACWAAAA\r\nPMADBQEEQ\r\n");
    EXPECT_EQ(list.CompactText(), "head\\#\\!ADBDEWAABQE");
    EXPECT_EQ(list.PrintTitle("a.zel"), "a.zel\\#head\\#");
    EXPECT_EQ(TGiboList::EmptyPrintTitle(), "\\#\\#\\#AAAG\\#\\#" + KS("가온하루미 벨다대국") + "\\#\\#");

    const TMoveTable table = list.MoveTable();
    EXPECT_EQ(table.Last, 3);
    EXPECT_EQ(table.Points[1][0], 3);
    EXPECT_EQ(table.Points[1][1], 4);
    EXPECT_EQ(table.Points[2][0], 0);
    EXPECT_EQ(table.Points[3][0], 16);

    // Numbers beyond the table and points off the board never reach it.
    TGiboList odd;
    odd.AddLine("PMABB~~~~");
    odd.AddLine("PMZZBDEED");
    EXPECT_EQ(odd.MoveTable().Last, 500);
    EXPECT_EQ(odd.MoveTable().Points[1][0], 0);
    EXPECT_EQ(odd.MoveTable().Points[1][1], 0);
}

TEST(HelpList, KeepsLinesOfOneGameKey)
{
    THelpList help;
    EXPECT_TRUE(help.AddPending("ABCVHABfirst"));
    EXPECT_TRUE(help.AddPending("ABCVHABsecond"));
    EXPECT_EQ(help.Count(), 2);

    // Another key replaces everything; flushing with the first key adds nothing.
    EXPECT_TRUE(help.AddPending("XYZVHACother"));
    EXPECT_EQ(help.Count(), 1);
    EXPECT_EQ(help.Key(), "XYZ");
    TGiboList list;
    list.AddLine("PMABBDEED");
    list.AddLine("PMACWEDDE");
    help.FlushInto("ABC", list);
    EXPECT_EQ(list.NodeCount(), 2u);
    EXPECT_EQ(help.Count(), 1);

    help.FlushInto("XYZ", list);
    EXPECT_EQ(Lines(list), (Rows{"PM1 BDEED", "PM2 WEDDE", "VH2 other <"}));
    EXPECT_EQ(help.Count(), 0);
    EXPECT_EQ(help.Key(), "XYZ");
}

TEST(HelpList, DropsLinesBeyondItsCapacity)
{
    THelpList help;
    for (int i = 0; i < THelpList::kCapacity; ++i)
        ASSERT_TRUE(help.AddPending("KEYVHAB" + std::to_string(i)));
    EXPECT_FALSE(help.AddPending("KEYVHABextra"));
    EXPECT_EQ(help.Count(), THelpList::kCapacity);
    EXPECT_EQ(help.Line(THelpList::kCapacity), "VHAB199");
    EXPECT_FALSE(help.AddPending("KE"));
}

} // namespace
} // namespace zel
