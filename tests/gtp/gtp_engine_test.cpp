// zelgtp's engine: a scripted controller session and hostile command lines.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "core/gtp/GtpEngine.h"

namespace zel {
namespace {

class FakeFiles : public TGtpFileReader {
public:
    std::map<std::string, std::string> Files;
    bool ReadFile(const std::string& path, std::size_t limit, std::string& out) override
    {
        const auto f = Files.find(path);
        if (f == Files.end() || f->second.size() > limit)
            return false;
        out = f->second;
        return true;
    }
};

std::string TestFile(const std::string& name)
{
    std::ifstream in(std::string(ZEL_TEST_DATA) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Step {
    const char* line;
    const char* reply;
};

void RunSession(TGtpEngine& engine, const std::vector<Step>& steps)
{
    for (const Step& s : steps)
        EXPECT_EQ(engine.Handle(s.line), s.reply) << s.line;
}

TEST(GtpEngine, ScriptedSession)
{
    FakeFiles files;
    files.Files["h2.sgf"] = TestFile("record/gnugo-h2.sgf");
    TGtpEngine engine(files);
    RunSession(engine, {
                           {"1 protocol_version", "=1 2\n\n"},
                           {"# a comment line", ""},
                           {"   ", ""},
                           {"2 boardsize 19", "=2 \n\n"},
                           {"clear_board", "= \n\n"},
                           {"3 komi 6.5", "=3 \n\n"},
                           {"4 play black B19", "=4 \n\n"},
                           {"5 play white A19 # into atari", "=5 \n\n"},
                           {"6 final_status_list dead", "=6 A19\n\n"},
                           {"7 final_status_list alive", "=7 B19\n\n"},
                           {"8 undo", "=8 \n\n"},
                           {"9 final_status_list dead", "=9 \n\n"},
                           {"10 play w A19", "=10 \n\n"},
                           {"11 play b A18", "=11 \n\n"},
                           {"12 play w A19", "?12 illegal move\n\n"},
                           {"13 genmove b", "?13 cannot\n\n"},
                           {"14 frobnicate", "?14 unknown command\n\n"},
                           {"15 known_command play", "=15 true\n\n"},
                           {"16 known_command frobnicate", "=16 false\n\n"},
                           {"17 loadsgf h2.sgf", "=17 white\n\n"},
                           {"18 loadsgf h2.sgf 3", "=18 white\n\n"},
                           {"19 loadsgf missing.sgf", "?19 cannot load file\n\n"},
                       });
    // Before move 3 of the handicap game: the two stones and the first two
    // moves, white's D16 and black's Q5.
    const std::string board = engine.Handle("20 showboard");
    for (const char* row :
         {"16 . . . O . . . . . . . . . . . X . . . 16", " 5 . . . . . . . . . . . . . . . X . . .  5",
          " 4 . . . X . . . . . . . . . . . . . . .  4"})
        EXPECT_NE(board.find(row), std::string::npos) << row << board;
    EXPECT_EQ(board.rfind("=20 \n   A B C D E F G H J K L M N O P Q R S T\n19 .", 0), 0u) << board;
    EXPECT_EQ(engine.Handle("21 loadsgf h2.sgf"), "=21 white\n\n");
    EXPECT_EQ(engine.Handle("22 estimate_score").rfind("=22 ", 0), 0u);
    EXPECT_FALSE(engine.QuitRequested());
    EXPECT_EQ(engine.Handle("23 quit"), "=23 \n\n");
    EXPECT_TRUE(engine.QuitRequested());
}

TEST(GtpEngine, HandicapAndScore)
{
    FakeFiles files;
    TGtpEngine engine(files);
    RunSession(engine, {
                           {"fixed_handicap 4", "= D16 Q16 D4 Q4\n\n"},
                           {"fixed_handicap 2", "? board not empty\n\n"},
                           {"clear_board", "= \n\n"},
                           {"fixed_handicap 9", "= D16 K16 Q16 D10 K10 Q10 D4 K4 Q4\n\n"},
                           {"clear_board", "= \n\n"},
                           {"komi 6.5", "= \n\n"},
                           {"estimate_score", "= W+6.5\n\n"},
                           {"komi 0.5", "= \n\n"},
                           {"get_komi", "= 0.5\n\n"},
                           // White's lone stone is dead: a prisoner, and its
                           // point is black's with all the rest.
                           {"play b B19", "= \n\n"},
                           {"play b B18", "= \n\n"},
                           {"play w C19", "= \n\n"},
                           {"final_status_list dead", "= C19\n\n"},
                           {"estimate_score", "= B+359.5\n\n"},
                       });
}

// Malformed input gets an error reply and changes nothing; the engine keeps
// answering.
TEST(GtpEngine, MalformedCommands)
{
    FakeFiles files;
    TGtpEngine engine(files);
    const Step rows[] = {
        {"boardsize 9", "? unacceptable size\n\n"},
        {"boardsize 0", "? unacceptable size\n\n"},
        {"boardsize -19", "? unacceptable size\n\n"},
        {"boardsize nineteen", "? boardsize not an integer\n\n"},
        {"boardsize 99999999999999999999", "? boardsize not an integer\n\n"},
        {"boardsize", "? boardsize not an integer\n\n"},
        {"play b I5", "? invalid color or coordinate\n\n"},
        {"play b A0", "? invalid color or coordinate\n\n"},
        {"play b A20", "? invalid color or coordinate\n\n"},
        {"play b U1", "? invalid color or coordinate\n\n"},
        {"play b A05", "? invalid color or coordinate\n\n"},
        {"play b A-1", "? invalid color or coordinate\n\n"},
        {"play red A1", "? invalid color or coordinate\n\n"},
        {"play b", "? invalid color or coordinate\n\n"},
        {"play", "? invalid color or coordinate\n\n"},
        {"play b A1 A2", "? invalid color or coordinate\n\n"},
        {"komi lots", "? komi not a float\n\n"},
        {"komi nan", "? komi not a float\n\n"},
        {"komi 1e300", "? komi not a float\n\n"},
        {"fixed_handicap 1", "? invalid handicap\n\n"},
        {"fixed_handicap 10", "? invalid handicap\n\n"},
        {"final_status_list", "? invalid status\n\n"},
        {"final_status_list dying", "? invalid status\n\n"},
        {"loadsgf", "? syntax error\n\n"},
        {"loadsgf x.sgf 0", "? syntax error\n\n"},
        {"undo", "? cannot undo\n\n"},
        {"42", "?42 unknown command\n\n"},
        {"1000000000 name", "? unknown command\n\n"},
    };
    for (const Step& r : rows)
        EXPECT_EQ(engine.Handle(r.line), r.reply) << r.line;
    EXPECT_EQ(engine.Handle(std::string(kGtpMaxLine + 1, 'a')), "? command too long\n\n");
    // Control characters are dropped, tabs separate words.
    EXPECT_EQ(engine.Handle("7\tplay\tb\tD4\r"), "=7 \n\n");
    EXPECT_EQ(engine.Handle("pl\x01"
                            "ay w Q16"),
              "= \n\n");
    EXPECT_EQ(engine.Board().MoveCount(), 2);
}

// Files the records module refuses are errors, not positions.
TEST(GtpEngine, RefusedRecords)
{
    FakeFiles files;
    files.Files["nine.sgf"] = "(;GM[1]FF[4]SZ[9];B[ee])";
    files.Files["junk.sgf"] = "not a game";
    files.Files["offboard.sgf"] = "(;GM[1]FF[4]SZ[19];B[zz])";
    TGtpEngine engine(files);
    ASSERT_EQ(engine.Handle("play b D4"), "= \n\n");
    for (const char* name : {"nine.sgf", "junk.sgf", "offboard.sgf"}) {
        const std::string reply = engine.Handle(std::string("loadsgf ") + name);
        EXPECT_EQ(reply.rfind("? cannot load file", 0), 0u) << name << ": " << reply;
    }
    EXPECT_EQ(engine.Board().MoveCount(), 1) << "a refused file leaves the position";
}

} // namespace
} // namespace zel
