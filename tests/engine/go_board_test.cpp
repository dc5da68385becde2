#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/Cp949.h"
#include "core/engine/GoBoard.h"
#include "core/engine/LetterCodes.h"
#include "engine/BoardDiagram.h"

namespace zel {
namespace {

using test::BoardFromDiagram;
using test::Diagram;
using test::Picture;
using test::SnapshotFromDiagram;

struct PointEvent {
    int x, y, mark;
    std::uint8_t colour;
};

// Records what a board announces.
struct Events {
    std::vector<PointEvent> points;
    std::vector<std::pair<TMoveInfo, bool>> moves;
    void Attach(TGoBoard& b)
    {
        b.OnPointChange = [this](TGoBoard&, int x, int y, int mark, std::uint8_t c) {
            points.push_back({x, y, mark, c});
        };
        b.OnMove = [this](TGoBoard&, const TMoveInfo& info, bool advanced) { moves.emplace_back(info, advanced); };
    }
};

TEST(GoBoard, CapturesRemoveStonesAndCountPrisoners)
{
    struct Row {
        const char* name;
        const char* before;
        std::uint8_t toMove;
        int x, y;
        const char* after;
        int blackPrisoners, whitePrisoners;
    } rows[] = {
        {"corner stone",
         "O X . .\n"
         ". . . .\n"
         ". . . .\n",
         kBlack, 1, 2,
         ". X . .\n"
         "X . . .\n"
         ". . . .\n",
         1, 0},
        {"two-stone edge group",
         ". O O X\n"
         ". X X .\n"
         ". . . .\n",
         kBlack, 1, 1,
         "X . . X\n"
         ". X X .\n"
         ". . . .\n",
         2, 0},
        {"two groups at once, no liberty without them",
         ". X O .\n"
         "X O . .\n"
         "O . . .\n",
         kWhite, 1, 1,
         "O . O .\n"
         ". O . .\n"
         "O . . .\n",
         0, 2},
        {"atari only",
         ". O X .\n"
         ". X . .\n"
         ". . . .\n",
         kWhite, 1, 2,
         ". O X .\n"
         "O X . .\n"
         ". . . .\n",
         0, 0},
    };
    for (const Row& r : rows) {
        TGoBoard b = BoardFromDiagram(r.before, r.toMove);
        Events e;
        e.Attach(b);
        EXPECT_TRUE(b.PlayAt(r.x, r.y)) << r.name;
        EXPECT_EQ(Diagram(b, 3, 4), Picture(r.after)) << r.name;
        EXPECT_EQ(b.BlackPrisoners(), r.blackPrisoners) << r.name;
        EXPECT_EQ(b.WhitePrisoners(), r.whitePrisoners) << r.name;
        EXPECT_EQ(b.MoveCount(), 1) << r.name;
        EXPECT_EQ(b.ColourToMove(), Opponent(r.toMove)) << r.name;
        // One event for the stone, one per captured stone, one move event.
        EXPECT_EQ(e.points.size(), 1u + r.blackPrisoners + r.whitePrisoners) << r.name;
        ASSERT_EQ(e.moves.size(), 1u) << r.name;
        EXPECT_TRUE(e.moves[0].second);
        EXPECT_EQ(e.moves[0].first.X, r.x);
        EXPECT_EQ(e.moves[0].first.MoveCount, 1);
        EXPECT_EQ(b.Captures().Count, r.blackPrisoners + r.whitePrisoners);
    }
}

TEST(GoBoard, IllegalMovesChangeNothing)
{
    struct Row {
        const char* name;
        const char* picture;
        std::uint8_t toMove;
        int x, y;
    } rows[] = {
        {"single-stone suicide",
         ". X .\n"
         "X . .\n",
         kWhite, 1, 1},
        {"group suicide",
         ". O X\n"
         "O X .\n"
         "X . .\n",
         kWhite, 1, 1},
        {"occupied", ". X .\n", kWhite, 2, 1},
        {"off the board", ". X .\n", kWhite, 20, 1},
        {"pass point", ". X .\n", kWhite, 0, 0},
    };
    for (const Row& r : rows) {
        TGoBoard b = BoardFromDiagram(r.picture, r.toMove);
        ASSERT_TRUE(b.PlayAt(15, 15));
        ASSERT_TRUE(b.PlayAt(16, 16));
        ASSERT_TRUE(b.PlayAt(17, 17));
        b.Undo();
        ASSERT_EQ(b.RedoLimit(), 3);
        const std::string before = Diagram(b);
        Events e;
        e.Attach(b);
        EXPECT_FALSE(b.IsLegalMove(r.x, r.y)) << r.name;
        EXPECT_FALSE(b.PlayAt(r.x, r.y)) << r.name;
        EXPECT_EQ(Diagram(b), before) << r.name;
        EXPECT_EQ(b.MoveCount(), 2) << r.name;
        EXPECT_EQ(b.ColourToMove(), r.toMove) << r.name;
        EXPECT_TRUE(e.points.empty() && e.moves.empty()) << r.name;
        EXPECT_EQ(b.RedoLimit(), 2) << r.name; // the attempt cut the redo range
    }
}

TEST(GoBoard, SimpleKoRetakeWaitsOneMove)
{
    TGoBoard b = BoardFromDiagram(". X O .\n"
                                  "X O . O\n"
                                  ". X O .\n");
    ASSERT_TRUE(b.PlayAt(3, 2)); // black takes the ko
    EXPECT_EQ(Diagram(b, 3, 4), Picture(". X O .\n"
                                        "X . X O\n"
                                        ". X O .\n"));
    EXPECT_FALSE(b.IsLegalMove(2, 2));
    EXPECT_FALSE(b.PlayAt(2, 2)) << Diagram(b, 3, 4);
    ASSERT_TRUE(b.PlayAt(10, 10)); // white threatens elsewhere
    ASSERT_TRUE(b.PlayAt(10, 11)); // black answers
    EXPECT_TRUE(b.PlayAt(2, 2)) << Diagram(b, 3, 4);
    EXPECT_EQ(Diagram(b, 3, 4), Picture(". X O .\n"
                                        "X O . O\n"
                                        ". X O .\n"));
    // Now black may not retake at once either; a pass in between lifts the ban.
    EXPECT_FALSE(b.PlayAt(3, 2));
    ASSERT_TRUE(b.PlayPass());
    ASSERT_TRUE(b.PlayPass());
    EXPECT_TRUE(b.PlayAt(3, 2));
}

TEST(GoBoard, TakingTwoStonesIsNeverKo)
{
    TGoBoard b = BoardFromDiagram(". O O X\n"
                                  "O X X .\n");
    ASSERT_TRUE(b.PlayAt(1, 1)); // black takes two
    EXPECT_EQ(b.BlackPrisoners(), 2);
    EXPECT_TRUE(b.PlayAt(2, 1)) << Diagram(b, 2, 4); // white takes the single stone back
    EXPECT_EQ(Diagram(b, 2, 4), Picture(". O . X\n"
                                        "O X X .\n"));
    EXPECT_EQ(b.WhitePrisoners(), 1);
}

// A short game with captures on both sides and a pass.
const int kGame[][2] = {{2, 1}, {1, 1}, {1, 2},  {3, 1},  {10, 10}, {2, 2},  {0, 0},   {1, 1},
                        {5, 5}, {4, 4}, {18, 1}, {17, 1}, {19, 1},  {18, 2}, {15, 15}, {19, 2}};

TEST(GoBoard, UndoAndRedoRetraceEveryPosition)
{
    TGoBoard b;
    std::vector<TGoSnapshot> seen(1);
    b.SaveSnapshot(seen[0]);
    for (const auto& m : kGame) {
        ASSERT_TRUE(m[0] == 0 ? b.PlayPass() : b.PlayAt(m[0], m[1])) << m[0] << "," << m[1] << Diagram(b, 5, 5);
        seen.emplace_back();
        b.SaveSnapshot(seen.back());
    }
    ASSERT_EQ(b.BlackPrisoners() + b.WhitePrisoners(), 4);
    auto expectAt = [&](const TGoBoard& board, int n) {
        TGoSnapshot now;
        board.SaveSnapshot(now);
        EXPECT_EQ(Diagram(board, 5, 5), Diagram(TGoBoard(seen[n], {}), 5, 5)) << "after move " << n;
        EXPECT_EQ(now.BlackPrisoners, seen[n].BlackPrisoners) << n;
        EXPECT_EQ(now.WhitePrisoners, seen[n].WhitePrisoners) << n;
        EXPECT_EQ(now.ColourToMove, seen[n].ColourToMove) << n;
        EXPECT_EQ(now.Captures.Count, seen[n].Captures.Count) << n;
    };
    const int total = static_cast<int>(std::size(kGame));
    for (int n = total - 1; n >= 0; --n) {
        b.Undo();
        expectAt(b, n);
    }
    b.Undo(); // nothing left to undo
    expectAt(b, 0);
    EXPECT_EQ(b.RedoLimit(), total);
    for (int n = 1; n <= total; ++n) {
        EXPECT_TRUE(b.Redo()) << n;
        expectAt(b, n);
    }
    EXPECT_FALSE(b.Redo());
    // A new move after an undo ends the redo range.
    b.Undo();
    b.Undo();
    ASSERT_TRUE(b.PlayAt(15, 15));
    EXPECT_FALSE(b.Redo());
}

TEST(GoBoard, RedoReplaysPassesAndStopsAtUnplayableRecords)
{
    TGoBoard b;
    ASSERT_TRUE(b.PlayAt(4, 4));
    ASSERT_TRUE(b.PlayPass());
    ASSERT_TRUE(b.PlayAt(5, 5));
    b.Undo();
    b.Undo();
    b.Undo();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(b.Redo()) << i;
    EXPECT_EQ(b.MoveCount(), 3);
    EXPECT_EQ(b.Colour(5, 5), kBlack);
    EXPECT_EQ(b.Move(2).X, 0);

    // A stored record that no longer fits the position is refused, not
    // reported as replayed.
    TGoSnapshot s = SnapshotFromDiagram("X . .\n");
    s.Moves[1] = {kBlack, 1, 1, 0, 0};
    TGoBoard c(s, {});
    c.SetRedoLimit(1);
    EXPECT_FALSE(c.Redo());
    EXPECT_EQ(c.MoveCount(), 0);
}

TEST(GoBoard, UndoOfPassOnlySwapsColour)
{
    TGoBoard b;
    ASSERT_TRUE(b.PlayAt(4, 4));
    ASSERT_TRUE(b.PlayPass());
    Events e;
    e.Attach(b);
    b.Undo();
    EXPECT_EQ(b.ColourToMove(), kWhite);
    EXPECT_EQ(b.MoveCount(), 1);
    EXPECT_EQ(b.Colour(4, 4), kBlack);
    ASSERT_EQ(e.moves.size(), 1u);
    EXPECT_FALSE(e.moves[0].second);
    EXPECT_EQ(e.moves[0].first.X, 4); // the move now last
}

TEST(GoBoard, FullRecordsRefuseFurtherMoves)
{
    TGoBoard b;
    for (int i = 0; i < kMaxMoves; ++i)
        ASSERT_TRUE(b.PlayPass()) << i;
    EXPECT_FALSE(b.PlayPass());
    EXPECT_FALSE(b.PlayAt(10, 10));
    EXPECT_FALSE(b.IsLegalMove(10, 10));
    EXPECT_EQ(b.MoveCount(), kMaxMoves);
    EXPECT_EQ(b.Colour(10, 10), kEmpty);
    b.Undo();
    EXPECT_TRUE(b.PlayAt(10, 10));

    // The capture history has room for 500 stones: a two-stone capture at
    // 499 is refused, a single stone still fits.
    TGoSnapshot s = SnapshotFromDiagram(". O O X . X O X\n"
                                        ". X X . . . . .\n");
    s.Captures.Count = kMaxCaptures - 1;
    TGoBoard c(s, {});
    EXPECT_FALSE(c.PlayAt(1, 1));
    EXPECT_TRUE(c.PlayAt(7, 2));
    EXPECT_EQ(c.Captures().Count, kMaxCaptures);
    EXPECT_EQ(c.Colour(7, 1), kEmpty);
}

TEST(GoBoard, HandicapPlacesStonesForEveryCount)
{
    struct Row {
        int count;
        std::uint8_t variant;
        std::vector<std::pair<int, int>> stones;
    } rows[] = {
        {0, 1, {}},
        {1, 1, {}},
        {2, 0, {{16, 4}, {4, 16}}},
        {3, 0, {{16, 4}, {4, 16}, {4, 4}}},
        {3, 1, {{16, 4}, {4, 16}, {16, 16}}},
        {4, 0, {{16, 4}, {4, 16}, {4, 4}, {16, 16}}},
        {4, 1, {{16, 4}, {4, 16}, {4, 4}, {16, 16}}},
        {5, 1, {{16, 4}, {4, 16}, {4, 4}, {16, 16}, {10, 10}}},
        {6, 1, {{16, 4}, {4, 16}, {4, 4}, {16, 16}, {4, 10}, {16, 10}}},
        {7, 0, {{16, 4}, {4, 16}, {4, 4}, {16, 16}, {4, 10}, {16, 10}, {10, 10}}},
        {8, 1, {{16, 4}, {4, 16}, {4, 4}, {16, 16}, {4, 10}, {16, 10}, {10, 4}, {10, 16}}},
        {9, 1, {{16, 4}, {4, 16}, {4, 4}, {16, 16}, {4, 10}, {16, 10}, {10, 4}, {10, 16}, {10, 10}}},
        {20, 1, {}},
        {-3, 1, {}},
    };
    const std::vector<std::pair<int, int>> twelve = {{16, 4}, {4, 16},  {4, 4}, {16, 16}, {4, 10}, {16, 10},
                                                     {10, 4}, {10, 16}, {7, 7}, {7, 13},  {13, 7}, {13, 13}};
    std::vector<Row> all(std::begin(rows), std::end(rows));
    for (int count = 10; count <= 19; ++count)
        for (std::uint8_t variant : {0, 1})
            all.push_back({count, variant, twelve});
    for (const Row& r : all) {
        TGoBoard b;
        b.SetHandicap(r.count, r.variant);
        int stones = 0;
        for (int y = 1; y <= 19; ++y)
            for (int x = 1; x <= 19; ++x)
                stones += b.Colour(x, y) != kEmpty ? 1 : 0;
        EXPECT_EQ(stones, static_cast<int>(r.stones.size())) << r.count << "/" << int(r.variant) << Diagram(b);
        for (auto [x, y] : r.stones)
            EXPECT_EQ(b.Colour(x, y), kBlack) << r.count << " at " << x << "," << y;
        EXPECT_EQ(b.ColourToMove(), r.stones.empty() ? kBlack : kWhite) << r.count;
        EXPECT_EQ(b.Handicap(), r.count);
        EXPECT_EQ(b.MoveCount(), 0);
    }
}

TEST(GoBoard, DeadGroupsToggleAndAreRemovedAsPrisoners)
{
    const char* picture = "X . X O .\n"
                          ". X . O .\n"
                          "O O O O .\n"
                          ". . . . .\n";
    // The three black stones share one enclosed area: one click marks all.
    TGoBoard b = BoardFromDiagram(picture);
    EXPECT_TRUE(b.ToggleDeadGroup(1, 1, false));
    for (auto [x, y] : {std::pair{1, 1}, {3, 1}, {2, 2}})
        EXPECT_EQ(b.Mark(x, y), kMarkWhitePoint) << x << "," << y;
    EXPECT_EQ(b.Mark(4, 1), 0);
    EXPECT_FALSE(b.ToggleDeadGroup(2, 2, false)); // revived
    EXPECT_EQ(b.Mark(3, 1), 0);
    EXPECT_EQ(Diagram(b, 4, 5), Picture(picture));

    Events e;
    e.Attach(b);
    EXPECT_TRUE(b.ToggleDeadGroup(3, 1, true)); // not yet marked: marks only
    EXPECT_TRUE(e.moves.empty());
    EXPECT_EQ(b.Mark(3, 1), kMarkWhitePoint);
    EXPECT_FALSE(b.ToggleDeadGroup(3, 1, true)); // marked: removed
    EXPECT_EQ(b.WhitePrisoners(), 3);
    EXPECT_EQ(Diagram(b, 4, 5), Picture(". . . O .\n"
                                        ". . . O .\n"
                                        "O O O O .\n"
                                        ". . . . .\n"));
    ASSERT_EQ(e.moves.size(), 1u);
    EXPECT_FALSE(e.moves[0].second);

    TGoBoard w = BoardFromDiagram(picture);
    EXPECT_TRUE(w.ToggleDeadGroup(4, 2, false));
    EXPECT_EQ(w.Mark(1, 3), kMarkBlackPoint);
    w.ToggleDeadGroup(4, 2, true);
    EXPECT_EQ(w.BlackPrisoners(), 6);
    EXPECT_FALSE(w.ToggleDeadGroup(5, 5, true)); // empty point
    EXPECT_FALSE(w.ToggleDeadGroup(0, 3, true)); // off the board
}

TEST(GoBoard, DeadListTextAndApplyDeadListRoundTrip)
{
    const char* picture = "X . O . .\n"
                          "O O O . .\n"
                          ". . . . X\n";
    TGoBoard a = BoardFromDiagram(picture);
    TStack clicks;
    a.ToggleDeadGroup(1, 1, false);
    clicks.Push(1, 1);
    clicks.Push(1, 1);  // clicked twice: written once
    clicks.Push(5, 3);  // not dead: dropped
    clicks.Push(30, 3); // off the board: dropped
    const std::string text = a.DeadListText(clicks);
    EXPECT_EQ(text, "BB");
    EXPECT_EQ(clicks.Count(), 0);

    TGoBoard b = BoardFromDiagram(picture);
    clicks.Push(2, 2);
    b.ApplyDeadList(text + "ZZ", false, clicks); // the off-board pair is skipped
    EXPECT_EQ(clicks.Count(), 0);
    EXPECT_EQ(b.Mark(1, 1), kMarkWhitePoint);
    b.ApplyDeadList(text + "B", true, clicks); // odd length: ignored whole
    EXPECT_EQ(b.Colour(1, 1), kBlack);
    b.ApplyDeadList(text, true, clicks);
    EXPECT_EQ(b.Colour(1, 1), kEmpty);
    EXPECT_EQ(b.WhitePrisoners(), 1);
}

TEST(GoBoard, CountScoreCountsSingleColourRegionsOnly)
{
    TGoBoard empty;
    int black = -1, white = -1;
    empty.CountScore(black, white);
    EXPECT_EQ(black, 0);
    EXPECT_EQ(white, 0);

    // Black wall on column 3, white wall on column 5: columns 1-2 are black's,
    // column 4 is neutral, columns 6-19 white's; a stray white stone inside
    // black's area makes that area neutral too in the second board.
    TGoSnapshot s;
    EmptySnapshot(s);
    for (int y = 1; y <= 19; ++y) {
        s.Board[y][3] = kBlack;
        s.Board[y][5] = kWhite;
    }
    s.BlackPrisoners = 4;
    s.WhitePrisoners = 7;
    TGoBoard b(s, {});
    Events e;
    e.Attach(b);
    b.CountScore(black, white);
    EXPECT_EQ(black, 2 * 19 + 4);
    EXPECT_EQ(white, 14 * 19 + 7);
    int announced650 = 0;
    for (const PointEvent& p : e.points)
        announced650 += p.mark == kMarkBlackPoint ? 1 : 0;
    EXPECT_EQ(announced650, 38);
    EXPECT_EQ(b.Mark(1, 1), 0); // counting stores no marks

    s.Board[10][1] = kWhite;
    TGoBoard c(s, {});
    c.CountScore(black, white);
    EXPECT_EQ(black, 4);
    EXPECT_EQ(white, 14 * 19 + 7);
}

TEST(GoBoard, MarksFollowNumberingSettings)
{
    TGoBoard plain;
    ASSERT_TRUE(plain.PlayAt(4, 4));
    ASSERT_TRUE(plain.PlayAt(16, 16));
    EXPECT_EQ(plain.Mark(4, 4), 0);
    EXPECT_EQ(plain.Mark(16, 16), kMarkLastMove);
    plain.Undo();
    EXPECT_EQ(plain.Mark(4, 4), kMarkLastMove);
    ASSERT_TRUE(plain.PlayPass());
    EXPECT_EQ(plain.Mark(4, 4), 0);

    TGoSnapshot s;
    EmptySnapshot(s);
    TGoBoard numbered(s, {0, 0, 1});
    for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {10, 10}, {1, 2}})
        ASSERT_TRUE(numbered.PlayAt(x, y));
    EXPECT_EQ(numbered.Colour(1, 1), kEmpty); // move 1 taken by move 4
    EXPECT_EQ(numbered.Mark(1, 2), 4);
    numbered.Undo();
    EXPECT_EQ(numbered.Colour(1, 1), kBlack);
    EXPECT_EQ(numbered.Mark(1, 1), 1); // the restored stone shows its number again
    EXPECT_EQ(numbered.Mark(10, 10), 3);

    TGoBoard::TColourPairs pairs;
    numbered.ExportColours(pairs);
    EXPECT_EQ(pairs[0], std::make_pair(-1, 0));
    EXPECT_EQ(pairs[1], std::make_pair(-1, 1));
    EXPECT_EQ(pairs[2], std::make_pair(-1, 2));
    TMarkGrid numbers;
    numbered.NumberAllMoves(numbers);
    EXPECT_EQ(numbers[1][1], 1);
    EXPECT_EQ(numbers[10][10], 3);
    EXPECT_EQ(numbers[1][3], 0);
}

TEST(GoBoard, SnapshotsCarryTheWholeGame)
{
    TGoBoard a;
    for (const auto& m : kGame)
        ASSERT_TRUE(m[0] == 0 ? a.PlayPass() : a.PlayAt(m[0], m[1]));
    TGoSnapshot s;
    a.SaveSnapshot(s);
    TGoBoard b;
    Events e;
    e.Attach(b);
    b.LoadSnapshot(s);
    EXPECT_EQ(Diagram(b), Diagram(a));
    EXPECT_EQ(b.GameText(), a.GameText());
    EXPECT_EQ(b.RedoLimit(), b.MoveCount());
    ASSERT_EQ(e.points.size(), 1u); // only the last move is announced
    EXPECT_EQ(e.points[0].mark, kMarkLastMove);
    EXPECT_EQ(e.points[0].colour, a.Move(a.MoveCount()).Colour);
    a.Undo();
    b.Undo();
    EXPECT_EQ(Diagram(b), Diagram(a));
    EXPECT_EQ(b.BlackPrisoners(), a.BlackPrisoners());

    b.ResetGame();
    EXPECT_EQ(b.MoveCount(), 0);
    EXPECT_EQ(b.BlackPrisoners() + b.WhitePrisoners(), 0);
    EXPECT_EQ(Diagram(b), Diagram(TGoBoard()));

    // A snapshot with out-of-range counts is clamped, never trusted.
    s.MoveCount = 9000;
    s.Captures.Count = -5;
    s.ColourToMove = 7;
    b.LoadSnapshot(s);
    EXPECT_EQ(b.MoveCount(), kMaxMoves);
    EXPECT_EQ(b.Captures().Count, 0);
    EXPECT_EQ(b.ColourToMove(), kBlack);
}

TEST(GoBoard, TextExports)
{
    TGoBoard even;
    ASSERT_TRUE(even.PlayAt(16, 4));
    ASSERT_TRUE(even.PlayAt(4, 16));
    EXPECT_EQ(even.GameText(), "AAACQEEQ");
    EXPECT_EQ(even.RecordLinesText(), "PMABBQEEQ\r\nPMACWEQQE\r\n");
    ASSERT_TRUE(even.PlayPass());
    EXPECT_EQ(even.MovesAfterText(1), "ACEQAA");
    EXPECT_EQ(even.MovesAfterText(3), "");
    EXPECT_EQ(even.MovesAfterText(-4), even.MovesAfterText(0));
    // From the empty board the numbered moves start with record 0.
    EXPECT_EQ(even.NumberedMovesText(), "ABAE@AQEEQAA");
    EXPECT_EQ(even.HandicapText(), Utf8ToCp949("호선"));

    TGoBoard handicap;
    handicap.SetHandicap(3, 1);
    ASSERT_TRUE(handicap.PlayAt(17, 3));
    ASSERT_TRUE(handicap.PlayAt(3, 17));
    EXPECT_EQ(handicap.RecordLinesText(), "PMABWRDDR\r\nPMACBDRRD\r\n");
    EXPECT_EQ(handicap.GameText(), "DAACRDDR");
    EXPECT_EQ(handicap.HandicapText(), Utf8ToCp949("3점 접바둑"));
}

TEST(LetterCodes, EncodeAndDecode)
{
    for (int n = 0; n <= 675; ++n)
        ASSERT_EQ(Code2ToNum(NumToCode2(n)), n);
    EXPECT_EQ(NumToCode2(0), "AA");
    EXPECT_EQ(NumToCode2(27), "BB");
    EXPECT_EQ(NumToCode2(675), "ZZ");
    EXPECT_EQ(NumToCode3(2 * 676 + 3 * 26 + 4), "CDE");
    EXPECT_EQ(NumToLetter(19), 'T');
    EXPECT_EQ(LetterToNum("T"), 19);
    // Decoders read only what they are given.
    EXPECT_EQ(Code2ToNum("B"), -1);
    EXPECT_EQ(Code2ToNum(""), -1);
    EXPECT_EQ(LetterToNum(""), -1);
    EXPECT_EQ(Code2ToNum(std::string_view("BCD", 2)), 28);
    EXPECT_EQ(Opponent(kBlack), kWhite);
    EXPECT_EQ(Opponent(kWhite), kBlack);
    EXPECT_EQ(Opponent(0), kBlack);

    struct Row {
        int n;
        const char* name;
    } names[] = {{0, "호선"},       {1, "정선"},          {2, "2점 접바둑"},    {5, "5점 접바둑"},
                 {9, "9점 접바둑"}, {10, "13 점 접바둑"}, {12, "13 점 접바둑"}, {-1, "13 점 접바둑"}};
    for (const Row& r : names)
        EXPECT_EQ(HandicapName(r.n), Utf8ToCp949(r.name)) << r.n;
}

TEST(TStack, BoundedPushAndPop)
{
    TStack s;
    int x = 7, y = 8;
    s.Pop(x, y);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);
    EXPECT_EQ(s.PeekX(), -1);
    for (int i = 0; i < TStack::kCapacity; ++i)
        ASSERT_TRUE(s.Push(i, i + 1));
    EXPECT_FALSE(s.Push(1000, 1000));
    EXPECT_EQ(s.Count(), TStack::kCapacity);
    EXPECT_EQ(s.PeekX(), TStack::kCapacity - 1);
    s.Pop(x, y);
    EXPECT_EQ(y, TStack::kCapacity);
}

} // namespace
} // namespace zel
