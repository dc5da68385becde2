#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/Fakes.h"
#include "core/base/Cp949.h"
#include "core/engine/GoBoard.h"
#include "core/record/GiboList.h"
#include "core/record/HelpList.h"
#include "core/record/RecordFiles.h"
#include "core/record/RecordHeader.h"
#include "support/MemoryFileStore.h"

namespace zel {
namespace {

using test::MemoryFileStore;
using test::RecordingPrompts;

TFinishedGame SampleGame()
{
    TFinishedGame game;
    game.BlackId = "alice";
    game.WhiteId = "bob";
    game.GameKey = "KEY";
    game.DateText = "2026-12-07";
    game.Header.Black = PlayerDisplayText(KS("앨리스"), "alice", "3D");
    game.Header.White = PlayerDisplayText("", "bob", "");
    game.Header.Handicap = 0;
    game.Header.KomiSide = 'A';
    game.Header.Komi = 6;
    game.Header.DateLine = "2026-12-07 " + KS("대국실");
    game.Header.Title = RecordTitle();
    game.Header.Result = KS("백 2.5 집 승! >> 흑(64):백(60)");
    return game;
}

TEST(RecordHeader, LineHoldsSixBoundedFields)
{
    const TRecordHeader header = SampleGame().Header;
    const std::string line = RecordHeaderLine(header);
    EXPECT_EQ(line, "OOAA" + KS("앨리스") + "(alice) 3D\\#bob\\#AAAG\\#2026-12-07 " + KS("대국실") + "\\#" +
                        RecordTitle() + "\\#" + KS("백 2.5 집 승! ") + "\\#");
    const TRecordHeader back = ParseRecordHeader(line.substr(4));
    EXPECT_EQ(back.Black, header.Black);
    EXPECT_EQ(back.White, "bob");
    EXPECT_EQ(back.Komi, 6);
    EXPECT_EQ(back.KomiSide, 'A');
    EXPECT_EQ(back.Result, KS("백 2.5 집 승! "));

    // Long names are cut so that the first three fields take at most 74
    // bytes, never inside a double-byte character; no field can spill.
    TRecordHeader longNames;
    longNames.Black = std::string(40, 'b');
    longNames.White = "w" + KS("가나다라마바사아자차카타파하가나다라");
    longNames.DateLine = "x\r\ny";
    longNames.Result = "evil\\#more";
    const std::string cut = RecordHeaderLine(longNames);
    const auto third = cut.find("\\#", cut.find("\\#", cut.find("\\#") + 2) + 2) + 2;
    EXPECT_LE(third, 74u);
    const TRecordHeader parsed = ParseRecordHeader(cut.substr(4));
    EXPECT_EQ(parsed.Black, std::string(30, 'b'));
    EXPECT_EQ(parsed.White.size(), 29u);
    EXPECT_TRUE(IsWellFormedCp949(parsed.White));
    EXPECT_EQ(parsed.DateLine, "xy");
    EXPECT_EQ(parsed.Result, "evil/#more");
    EXPECT_EQ(cut.find('\n'), std::string::npos);
}

TEST(RecordHeader, OldTermsAndMissingFields)
{
    struct Row {
        std::string data;
        int handicap;
        char side;
        int komi;
    };
    const Row rows[] = {
        {"b\\#w\\#CBAA\\#", 2, 'B', 0},
        {"b\\#w\\#" + KS("호선") + "\\#", 0, 'A', 5},
        {"b\\#w\\#" + KS("정선") + "\\#", 1, 'A', 0},
        {"b\\#w\\#4\\#", 4, 'A', 0},
        {"b\\#w\\#", 0, 'A', 0},
        {"no separators", 0, 'A', 0},
    };
    for (const auto& row : rows) {
        const TRecordHeader h = ParseRecordHeader(row.data);
        EXPECT_EQ(h.Handicap, row.handicap) << row.data;
        EXPECT_EQ(h.KomiSide, row.side) << row.data;
        EXPECT_EQ(h.Komi, row.komi) << row.data;
    }
    EXPECT_EQ(ParseRecordHeader("no separators").Black, "");
}

TEST(RecordHeader, FileNamesFromDateIdsAndKey)
{
    EXPECT_EQ(RecordFileName("2026-12-07", "alice", "bob", "KEY"), "20261207alicebobKEY.zel");
    EXPECT_EQ(RecordFileName("07/12/2026 (Mon)", "a", "b", "XYZ"), "07122026abXYZ.zel");
    EXPECT_EQ(RecordFileName("2026-12-07", "../../x", "bob", "KEY"), "");
    EXPECT_EQ(RecordFileName("2026-12-07", "a/b", "bob", "KEY"), "");
    EXPECT_EQ(RecordFileName("2026-12-07", "a", "b\\c", "KEY"), "");
    EXPECT_EQ(RecordFileName("", "a", "b", "K\n"), "");
    EXPECT_EQ(BareRecordName("C:\\Gibo\\game.zel"), "game.zel");
    EXPECT_EQ(BareRecordName("game.zel"), "game.zel");
    EXPECT_EQ(ShortDateText(2026, 1, 9), "2026-01-09");
}

class RecordFilesTest : public ::testing::Test {
protected:
    MemoryFileStore store;
    RecordingPrompts prompts;
    TRecordFiles files{store, prompts};
    THelpList pending;
};

TEST_F(RecordFilesTest, GameWithoutMovesIsTheHeaderLineAlone)
{
    std::string name;
    ASSERT_EQ(files.WriteFinishedGame(SampleGame(), "", pending, name), RecordStatus::Ok);
    EXPECT_EQ(name, "20261207alicebobKEY.zel");
    EXPECT_EQ(store.files[name], RecordHeaderLine(SampleGame().Header) + "\r\n");
    EXPECT_TRUE(prompts.notices.empty());
}

TEST_F(RecordFilesTest, WritesMovesDeletesAdjournedFilesAndMergesPending)
{
    store.files["alicebob.tmp"] = "state";
    store.files["bobalice.tmp"] = "state";
    store.files["other.tmp"] = "state";
    pending.AddPending("KEYVHABABDE\\#AA\\#on move one\\!");
    pending.AddPending("KEYVHADADQE\\#AA\\#at the end\\!");
    std::string name;
    const std::string moves = "PMABBDEED\r\nPMACWAAAA\r\nPMADBQEEQ\r\n";
    ASSERT_EQ(files.WriteFinishedGame(SampleGame(), moves, pending, name), RecordStatus::Ok);
    EXPECT_EQ(store.files.count("alicebob.tmp"), 0u);
    EXPECT_EQ(store.files.count("bobalice.tmp"), 0u);
    EXPECT_EQ(store.files.count("other.tmp"), 1u);
    EXPECT_EQ(store.files[name], RecordHeaderLine(SampleGame().Header) +
                                     "\r\nPMABBDEED\r\nVHABABDE\\#AA\\#on move one\\!\r\nPMACWAAAA\r\n"
                                     "PMADBQEEQ\r\nVHADADQE\\#AA\\#at the end\\!\r\n");
    EXPECT_EQ(pending.Count(), 0);
}

TEST_F(RecordFilesTest, PendingLinesOfAnotherGameStayOut)
{
    pending.AddPending("OLDVHABABDE\\#AA\\#old\\!");
    std::string name;
    ASSERT_EQ(files.WriteFinishedGame(SampleGame(), "PMABBDEED\r\n", pending, name), RecordStatus::Ok);
    EXPECT_EQ(store.files[name].find("old"), std::string::npos);
    EXPECT_EQ(store.writes, 1);
    EXPECT_EQ(pending.Count(), 1);
}

// A handicap game played on a board is written and read back to the same
// position: white moves first, a pass is "AAAA".
TEST_F(RecordFilesTest, BoardGameWrittenAndReplayed)
{
    TGoBoard board;
    board.SetHandicap(2, 0);
    for (auto [x, y] : {std::pair{3, 3}, {17, 17}, {0, 0}, {3, 4}, {4, 3}})
        x == 0 ? board.PlayPass() : board.PlayAt(x, y);
    TFinishedGame game = SampleGame();
    game.Header.Handicap = 2;
    std::string name;
    ASSERT_EQ(files.WriteFinishedGame(game, board.RecordLinesText(), pending, name), RecordStatus::Ok);
    EXPECT_NE(store.files[name].find("\r\nPMABWDDDD\r\nPMACBRRRR\r\nPMADWAAAA\r\n"), std::string::npos);

    std::unique_ptr<TGiboList> list;
    ASSERT_EQ(files.LoadRecordFile(name, list), RecordStatus::Ok);
    TGoBoard replay;
    replay.SetHandicap(ParseRecordHeader(list->Head()->Data).Handicap, 0);
    while (list->NextMove())
        list->StepX == 0 ? replay.PlayPass() : replay.PlayAt(list->StepX, list->StepY);
    EXPECT_EQ(replay.MoveCount(), 5);
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            EXPECT_EQ(replay.Colour(x, y), board.Colour(x, y)) << x << "," << y;
}

TEST_F(RecordFilesTest, RefusesNamesFromTheNetworkWithANotice)
{
    TFinishedGame game = SampleGame();
    game.BlackId = "../../etc";
    std::string name = "unchanged";
    EXPECT_EQ(files.WriteFinishedGame(game, "", pending, name), RecordStatus::Refused);
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(store.writes, 0);
    ASSERT_EQ(prompts.notices.size(), 1u);
    EXPECT_EQ(prompts.notices[0].first, TRecordFiles::NoticeText(RecordStatus::Refused));

    std::unique_ptr<TGiboList> list;
    EXPECT_EQ(files.LoadRecordFile("..\\secret.zel", list), RecordStatus::Refused);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->NodeCount(), 0u);
    EXPECT_EQ(store.reads, 0);
}

TEST_F(RecordFilesTest, FailedWriteIsReported)
{
    store.failWrites = true;
    std::string name;
    EXPECT_EQ(files.WriteFinishedGame(SampleGame(), "PMABBDEED\r\n", pending, name), RecordStatus::WriteFailed);
    EXPECT_EQ(name, "");
    ASSERT_EQ(prompts.notices.size(), 1u);
    EXPECT_EQ(prompts.notices[0].first, TRecordFiles::NoticeText(RecordStatus::WriteFailed));
}

TEST_F(RecordFilesTest, UnreadableRecordKeepsThePendingLinesAndTheFile)
{
    store.files["game.zel"] = "OOAAhead\\#\r\nPMABBDEED\r\n";
    pending.AddPending("KEYVHABABDE\\#AA\\#kept\\!");
    store.failReads = true;
    EXPECT_EQ(files.MergePendingCommentary("game.zel", "KEY", pending), RecordStatus::ReadFailed);
    EXPECT_EQ(pending.Count(), 1);
    EXPECT_EQ(store.writes, 0);
    EXPECT_EQ(store.files["game.zel"], "OOAAhead\\#\r\nPMABBDEED\r\n");
}

TEST_F(RecordFilesTest, SaveAfterLoadReproducesTheFileWithoutShortLines)
{
    const std::string file = "OOAAb\\#w\\#AAAG\\#d\\#t\\#r\\#\r\nPMABBDEED\r\nVHABABDE\\#AA\\#x\\!\r\nshort\r\n"
                             "PMACWAAAA\r\nVHACADQE\\#ACBBGA\\#y\\!\r\nPMADBQEEQ";
    store.files["game.zel"] = file;
    std::unique_ptr<TGiboList> list;
    ASSERT_EQ(files.LoadRecordFile("game.zel", list), RecordStatus::Ok);
    EXPECT_EQ(list->Current(), list->Head());
    ASSERT_EQ(files.SaveToFile(*list, "game.zel"), RecordStatus::Ok);
    EXPECT_EQ(store.files["game.zel"], "OOAAb\\#w\\#AAAG\\#d\\#t\\#r\\#\r\nPMABBDEED\r\nVHABABDE\\#AA\\#x\\!\r\n"
                                       "PMACWAAAA\r\nVHACADQE\\#ACBBGA\\#y\\!\r\nPMADBQEEQ\r\n");

    // An empty record leaves the file as it was.
    TGiboList empty;
    ASSERT_EQ(files.SaveToFile(empty, "game.zel"), RecordStatus::Ok);
    EXPECT_EQ(store.writes, 1);
}

TEST_F(RecordFilesTest, RecordTooLongForTheListIsNeitherLoadedNorRewritten)
{
    std::string file = "OOAAhead\\#\r\n";
    for (std::size_t i = 0; i <= TGiboList::kMaxNodes; ++i)
        file += "VHABcomment\r\n";
    store.files["big.zel"] = file;
    pending.AddPending("KEYVHABnew");
    EXPECT_EQ(files.MergePendingCommentary("big.zel", "KEY", pending), RecordStatus::TooLong);
    EXPECT_EQ(store.files["big.zel"], file);
    std::unique_ptr<TGiboList> list;
    EXPECT_EQ(files.LoadRecordFile("big.zel", list), RecordStatus::TooLong);
    EXPECT_EQ(list->NodeCount(), 0u);
}

} // namespace
} // namespace zel
