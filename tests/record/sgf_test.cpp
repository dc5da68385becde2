#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "GnuGoProcess.h"
#include "core/base/Cp949.h"
#include "core/engine/GoBoard.h"
#include "core/record/GiboList.h"
#include "core/record/RecordHeader.h"
#include "core/record/SgfRecord.h"
#include "core/record/SgfTree.h"
#include "core/record/TextEncoding.h"

namespace zel {
namespace {
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> GnuGoGames()
{
    std::vector<fs::path> games;
    for (const auto& entry : fs::directory_iterator(fs::path(ZEL_TEST_DATA) / "record"))
        if (entry.path().extension() == ".sgf")
            games.push_back(entry.path());
    std::sort(games.begin(), games.end());
    return games;
}

std::string SgfOf(const std::string& recordText)
{
    TGiboList list;
    EXPECT_TRUE(AddRecordText(recordText, list, 9));
    return RecordToSgf(list);
}

// The record replayed on a board as the viewer does: handicap stones, then
// every move line (a pass for "AA").
std::set<std::pair<int, int>> FinalStones(const std::string& recordText, std::uint8_t colour)
{
    TGiboList list;
    AddRecordText(recordText, list, 9);
    TGoBoard board;
    board.SetHandicap(ParseRecordHeader(list.Head()->Data).Handicap, 0);
    for (TGoNode* node = list.Head()->Next; node != list.Head(); node = node->Next) {
        if (node->Kind != TGoNode::kMove)
            continue;
        int x = 0;
        int y = 0;
        MovePoint(node->Data, x, y);
        if (x == 0)
            board.PlayPass();
        else
            EXPECT_TRUE(board.PlayAt(x, y)) << node->Number << " " << node->Data;
    }
    std::set<std::pair<int, int>> stones;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            if (board.Colour(x, y) == colour)
                stones.insert({x, y});
    return stones;
}

// A record with commentaries before the first move, two on one move, one
// after a pass and one after the last move, with letter and territory marks,
// passes inside a variation and a Korean comment.
std::string SampleRecord()
{
    TRecordHeader header;
    header.Black = KS("김") + "(kim) 3D";
    header.White = KS("이") + "(lee) 2K";
    header.KomiSide = 'A';
    header.Komi = 6;
    header.DateLine = "2026-12-07";
    header.Title = RecordTitle();
    header.Result = KS("백 2.5 집 승! ");
    const std::string lines[] = {
        RecordHeaderLine(header),
        "PMABBDEED",
        "VHABAC@APP\\#ABPPXC\\#" + KS("좋은 수") + "\\!:: kim",
        "PMACWQEEQ",
        "VHACADDEAAFF\\#AA\\#first\\!:: lee",
        "VHACABDE\\#ACEEXDFFXE\\#second\\!:: kim",
        "PMADBAAAA",
        "PMAEWEQQE",
        "VHAEACAAQQ\\#AA\\#after the pass\\!:: lee",
        "PMAFBDDDD",
        "VHAGABDD\\#ADDDZAEEZBFFXE\\#end\\!:: kim",
    };
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

TEST(SgfTree, ParsesPropertiesEscapesAndVariations)
{
    SgfTree tree;
    ASSERT_EQ(ParseSgf("junk (;FF[4]C[a\\]b\\\\c\\\nd]AddBlack[aa][bb] (;B[cc];W[dd])(;B[ee]C[x])) trailing", tree),
              SgfStatus::Ok);
    ASSERT_EQ(tree.Nodes.size(), 4u);
    EXPECT_EQ(*tree.Nodes[0].Find("C"), "a]b\\cd");
    EXPECT_EQ(tree.Nodes[0].All("AB"), (std::vector<std::string>{"aa", "bb"}));
    EXPECT_EQ(tree.Nodes[0].Children, (std::vector<int>{1, 3}));
    EXPECT_EQ(tree.Nodes[1].Children, (std::vector<int>{2}));
    EXPECT_EQ(*tree.Nodes[3].Find("C"), "x");
    EXPECT_EQ(SgfEscape("a]b\\"), "a\\]b\\\\");

    struct Row {
        std::string text;
        SgfStatus status;
    };
    const Row rows[] = {
        {"", SgfStatus::Empty},
        {";B[aa]", SgfStatus::Empty},
        {"()", SgfStatus::Empty},
        {"(;B[aa]", SgfStatus::Syntax},
        {"(;C[never closed)", SgfStatus::Syntax},
        {"(B[aa])", SgfStatus::Syntax},
        {"(;B)", SgfStatus::Syntax},
        {"(;B[aa]#)", SgfStatus::Syntax},
        {std::string(200000, '('), SgfStatus::Syntax},
        {std::string(kSgfMaxBytes + 1, ' '), SgfStatus::TooLarge},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ParseSgf(row.text, tree), row.status) << row.text.substr(0, 40);
}

TEST(TextEncoding, DetectsOverTheWholeText)
{
    const std::string utf8 = "PB[" + std::string("김철수") + "]";
    const std::string cp949 = Utf8ToCp949(utf8);
    // Bytes that read as Latin letters in UTF-8 and as a Hangul syllable in CP949.
    const std::string both = "PB[\xC3\xA1]";
    struct Row {
        std::string text;
        std::string declared;
        TextEncoding expected;
    };
    const Row rows[] = {
        {"PB[kim]", "", TextEncoding::Ascii},
        {utf8, "", TextEncoding::Utf8},
        {cp949, "", TextEncoding::Cp949},
        {cp949, "UTF-8", TextEncoding::Cp949}, // a wrong declaration is not trusted
        {utf8, "EUC-KR", TextEncoding::Utf8},
        {both, "", TextEncoding::Cp949},
        {both, "utf-8", TextEncoding::Utf8},
        {"ascii first " + utf8 + std::string(5000, 'x') + cp949, "", TextEncoding::Unknown},
        {std::string(5000, 'x') + cp949, "", TextEncoding::Cp949}, // high bytes only late
        {"\xED\xA0\x80", "", TextEncoding::Unknown},               // a UTF-8 surrogate
    };
    for (const auto& row : rows)
        EXPECT_EQ(DetectEncoding(row.text, row.declared), row.expected) << row.text.substr(0, 30);
    EXPECT_EQ(ToCp949("a\xFF", TextEncoding::Unknown), "a?");
}

TEST(SgfRecord, RecordSurvivesTheRoundTripThroughSgf)
{
    const std::string record = SampleRecord();
    TSgfExportStats stats;
    TGiboList list;
    ASSERT_TRUE(AddRecordText(record, list, 9));
    const std::string sgf = RecordToSgf(list, &stats);
    EXPECT_EQ(stats.Moves, 5);
    EXPECT_EQ(stats.Commentaries, 5);
    EXPECT_NE(sgf.find("CA[UTF-8]"), std::string::npos);
    EXPECT_NE(sgf.find("PB[김(kim)]BR[3D]"), std::string::npos);
    EXPECT_NE(sgf.find("KM[6.5]RE[W+2.5]DT[2026-12-07]"), std::string::npos);
    EXPECT_NE(sgf.find("C[좋은 수\n:: kim]LB[oo:A]"), std::string::npos) << sgf;
    EXPECT_NE(sgf.find("TB[cc]TW[dd]LB[ee:C]"), std::string::npos) << sgf;

    std::string back;
    ASSERT_EQ(SgfToRecordText(sgf, back), SgfImportStatus::Ok);
    EXPECT_EQ(back, record) << sgf;
}

TEST(SgfRecord, HandicapAndKomiTerms)
{
    struct Row {
        std::string terms;
        std::string sgfPart;
    };
    const Row rows[] = {
        {"EAAA", "HA[4]AB[dd][dp][pd][pp]KM[0]"},
        {"DAAA", "HA[3]AB[dd][dp][pd]KM[0]"},
        {"AAAF", "KM[5.5]"},
        {"ABAF", "KM[-5.5]"},
    };
    for (const auto& row : rows) {
        const std::string record = "OOAAb\\#w\\#" + row.terms + "\\#\\#t\\#\\#\r\n" +
                                   (row.terms[0] >= 'C' ? "PMABWQQQQ\r\nPMACBEQQE\r\n" : "PMABBQQQQ\r\n");
        const std::string sgf = SgfOf(record);
        EXPECT_NE(sgf.find(row.sgfPart), std::string::npos) << sgf;
        std::string back;
        ASSERT_EQ(SgfToRecordText(sgf, back), SgfImportStatus::Ok);
        EXPECT_EQ(back, record);
    }
}

TEST(SgfRecord, ImportRefusesWhatARecordCannotHold)
{
    std::string many = "(;SZ[19]";
    for (int i = 0; i < 501; ++i)
        many += i % 2 ? ";W[]" : ";B[]";
    many += ")";
    struct Row {
        std::string sgf;
        SgfImportStatus status;
    };
    const Row rows[] = {
        {"(;SZ[13];B[aa])", SgfImportStatus::NotNineteen},
        {"(;AB[aa];W[bb])", SgfImportStatus::UnsupportedSetup},
        {"(;AW[pd][dp];B[bb])", SgfImportStatus::UnsupportedSetup},
        {"(;HA[3]AB[pd][dp][pp];W[bb])", SgfImportStatus::UnsupportedSetup}, // the other corner
        {"(;B[aa];AB[cc])", SgfImportStatus::UnsupportedSetup},
        {"(;B[zz])", SgfImportStatus::BadMove},
        {"(;B[a])", SgfImportStatus::BadMove},
        {many, SgfImportStatus::TooManyMoves},
        {"not sgf", SgfImportStatus::Syntax},
    };
    std::string text;
    for (const auto& row : rows)
        EXPECT_EQ(SgfToRecordText(row.sgf, text), row.status) << row.sgf.substr(0, 40);
}

TEST(SgfRecord, ImportOfForeignFiles)
{
    std::string text;
    // Moves out of turn get a pass between them; "tt" is a pass too.
    ASSERT_EQ(SgfToRecordText("(;GM[1];B[dd];B[pp];W[tt])", text), SgfImportStatus::Ok);
    EXPECT_NE(text.find("\r\nPMABBEEEE\r\nPMACWAAAA\r\nPMADBQQQQ\r\nPMAEWAAAA\r\n"), std::string::npos) << text;

    // An EUC-KR file without CA, its comment on a main-line node and nested
    // variations, each path one commentary.
    const std::string sgf = Utf8ToCp949("(;PB[흑돌]BR[1D]PW[백돌]RE[B+R];B[cc]C[첫 수\n좋다](;W[oo];B[co])"
                                        "(;W[co](;B[oo]LB[oo:A][qq:long])(;B[op]C[끝])))");
    ASSERT_EQ(SgfToRecordText(sgf, text), SgfImportStatus::Ok);
    const std::string header =
        RecordHeaderLine({KS("흑돌") + " 1D", KS("백돌"), 0, 'A', 0, "", RecordTitle(), KS("흑 불계승")});
    EXPECT_EQ(text, header +
                        "\r\nPMABBDDDD\r\n"
                        "PMACWPPPP\r\n"
                        "VHACABDD\\#AA\\#" +
                        KS("첫 수\\!좋다") +
                        "\r\n"
                        "VHACADDDDPPP\\#ABPPXC\\#\r\n"
                        "VHACADDDDPPQ\\#AA\\#" +
                        KS("끝") +
                        "\r\n"
                        "PMADBDPPD\r\n");
}

TEST(SgfRecord, GnuGoGamesSurviveBothDirections)
{
    const auto games = GnuGoGames();
    ASSERT_GE(games.size(), 3u);
    for (const auto& game : games) {
        const std::string sgf = ReadFile(game);
        std::string record;
        ASSERT_EQ(SgfToRecordText(sgf, record), SgfImportStatus::Ok) << game;
        SgfTree tree;
        ASSERT_EQ(ParseSgf(sgf, tree), SgfStatus::Ok);
        // Every move of the game is a move line, none added.
        std::size_t sgfMoves = 0;
        for (const auto& node : tree.Nodes)
            sgfMoves += node.All("B").size() + node.All("W").size();
        TGiboList list;
        AddRecordText(record, list, 9);
        EXPECT_EQ(static_cast<std::size_t>(list.MoveNodeCount()), sgfMoves) << game;

        std::string again;
        ASSERT_EQ(SgfToRecordText(SgfOf(record), again), SgfImportStatus::Ok);
        EXPECT_EQ(again, record) << game;
    }
}

// GNU Go loads each exported SGF and shows the position our board reaches.
TEST(SgfRecord, GnuGoShowsTheSameFinalPosition)
{
    if (test::GnuGoProgram().empty())
        GTEST_SKIP() << "gnugo is not installed";
    const fs::path dir = fs::temp_directory_path() / ("zel_sgf_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::vector<std::pair<std::string, std::string>> records; // name, record text
    for (const auto& game : GnuGoGames()) {
        std::string record;
        ASSERT_EQ(SgfToRecordText(ReadFile(game), record), SgfImportStatus::Ok);
        records.push_back({game.filename().string(), record});
    }
    records.push_back({"sample", SampleRecord()});

    std::vector<std::string> commands;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const fs::path file = dir / ("game" + std::to_string(i) + ".sgf");
        std::ofstream(file, std::ios::binary) << SgfOf(records[i].second);
        commands.push_back("loadsgf " + file.string());
        commands.push_back("list_stones black");
        commands.push_back("list_stones white");
    }
    const auto answers = test::RunGtp(commands);
    fs::remove_all(dir);
    ASSERT_GE(answers.size(), commands.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_NE(answers[3 * i][0], '?') << records[i].first << ": " << answers[3 * i];
        EXPECT_FALSE(FinalStones(records[i].second, kBlack).empty()) << records[i].first;
        EXPECT_EQ(test::GtpPoints(answers[3 * i + 1]), FinalStones(records[i].second, kBlack)) << records[i].first;
        EXPECT_EQ(test::GtpPoints(answers[3 * i + 2]), FinalStones(records[i].second, kWhite)) << records[i].first;
    }
}

} // namespace
} // namespace zel
