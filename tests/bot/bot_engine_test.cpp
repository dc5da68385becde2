#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "BotEngine.h"
#include "core/engine/GoBoard.h"
#include "core/gtp/GtpPosition.h"

namespace zel::bot {
namespace {

// A GTP engine in a few lines of shell: every command goes into a log, every
// answer is "=", genmove answers with the move the test asks for.
class ScriptedEngine {
public:
    ScriptedEngine()
    {
        dir_ = std::filesystem::temp_directory_path() / ("zelbot-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        script_ = dir_ / "engine.sh";
        std::ofstream(script_) << "#!/bin/sh\n"
                                  "while read -r id cmd rest; do\n"
                                  "  echo \"$cmd $rest\" >> '"
                               << (dir_ / "log").string()
                               << "'\n"
                                  "  case \"$cmd\" in\n"
                                  "    genmove) echo \"=$id $(cat '"
                               << (dir_ / "move").string()
                               << "')\";;\n"
                                  "    estimate_score) echo \"=$id W+75.5 (upper bound: -70.5)\";;\n"
                                  "    *) echo \"=$id\";;\n"
                                  "  esac\n"
                                  "  echo\n"
                                  "done\n";
        std::filesystem::permissions(script_, std::filesystem::perms::owner_all);
        NextMove("D4");
    }
    ~ScriptedEngine() { std::filesystem::remove_all(dir_); }
    std::vector<std::string> Argv() const { return {"/bin/sh", script_.string()}; }
    void NextMove(const std::string& vertex) { std::ofstream(dir_ / "move") << vertex << "\n"; }
    // The commands received since the last call.
    std::vector<std::string> Take()
    {
        std::ifstream in(dir_ / "log");
        std::vector<std::string> all;
        for (std::string line; std::getline(in, line);) {
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            all.push_back(line);
        }
        std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
        seen_ = all.size();
        return fresh;
    }

private:
    std::filesystem::path dir_, script_;
    std::size_t seen_ = 0;
};

using Lines = std::vector<std::string>;

TEST(BotEngine, FollowsTheGameByPlayingUndoingOrStartingAfresh)
{
    ScriptedEngine script;
    TBotEngine engine(script.Argv(), 5000);
    TGoBoard board;
    board.PlayAt(4, 4);
    board.PlayAt(16, 16);
    ASSERT_TRUE(engine.Sync(GameQuery(board, 6.5)));
    EXPECT_EQ(script.Take(), (Lines{"boardsize 19", "clear_board", "komi 6.5", "play B D16", "play W Q4"}));

    // New moves only.
    board.PlayAt(4, 16);
    ASSERT_TRUE(engine.Sync(GameQuery(board, 6.5)));
    EXPECT_EQ(script.Take(), (Lines{"play B D4"}));
    // Nothing new: nothing sent.
    ASSERT_TRUE(engine.Sync(GameQuery(board, 6.5)));
    EXPECT_TRUE(script.Take().empty());

    // Two moves taken back, another played.
    board.Undo();
    board.Undo();
    board.PlayAt(10, 10);
    ASSERT_TRUE(engine.Sync(GameQuery(board, 6.5)));
    EXPECT_EQ(script.Take(), (Lines{"undo", "undo", "play W K10"}));

    // Other terms: set up anew.
    ASSERT_TRUE(engine.Sync(GameQuery(board, 0.5)));
    EXPECT_EQ(script.Take(), (Lines{"boardsize 19", "clear_board", "komi 0.5", "play B D16", "play W K10"}));
}

TEST(BotEngine, AGeneratedMoveIsKeptUntilTheGameHasIt)
{
    ScriptedEngine script;
    TBotEngine engine(script.Argv(), 5000);
    TGoBoard board;
    ASSERT_TRUE(engine.Sync(GameQuery(board, 6.5)));
    script.Take();
    script.NextMove("Q16");
    const TEngineMove move = engine.GenMove(kBlack);
    ASSERT_EQ(move.What, TEngineMove::Play);
    EXPECT_EQ(move.X, 16);
    EXPECT_EQ(move.Y, 4);
    EXPECT_EQ(script.Take(), (Lines{"genmove B"}));
    // The session played it: nothing to send.
    board.PlayAt(16, 4);
    ASSERT_TRUE(engine.Sync(GameQuery(board, 6.5)));
    EXPECT_TRUE(script.Take().empty());

    // The session refused another one: it is undone.
    script.NextMove("pass");
    EXPECT_EQ(engine.GenMove(kWhite).What, TEngineMove::Pass);
    script.NextMove("resign");
    EXPECT_EQ(engine.GenMove(kWhite).What, TEngineMove::Resign);
    script.NextMove("Z99");
    EXPECT_EQ(engine.GenMove(kWhite).What, TEngineMove::Failed);
    script.Take();
    ASSERT_TRUE(engine.Sync(GameQuery(board, 6.5)));
    EXPECT_EQ(script.Take(), (Lines{"undo"}));

    double margin = 0;
    ASSERT_TRUE(engine.EstimateMargin(margin));
    EXPECT_DOUBLE_EQ(margin, -75.5);
}

TEST(BotEngine, AnEngineThatCannotStartFailsEveryQuestion)
{
    TBotEngine engine({"/nonexistent/engine"}, 1000);
    TGoBoard board;
    EXPECT_FALSE(engine.Sync(GameQuery(board, 6.5)));
    EXPECT_EQ(engine.GenMove(kBlack).What, TEngineMove::Failed);
    double margin = 0;
    EXPECT_FALSE(engine.EstimateMargin(margin));
}

TEST(BotEngine, ScoresAreReadStrictly)
{
    struct Row {
        const char* text;
        bool ok;
        double margin;
    };
    const Row rows[] = {{"B+3.5", true, 3.5}, {"W+12 (upper bound: -10)", true, -12},
                        {"0", true, 0},       {"B+", false, 0},
                        {"X+3", false, 0},    {"B+3x", false, 0},
                        {"W+-5", false, 0},   {"B+1e9", false, 0},
                        {"", false, 0}};
    for (const Row& r : rows) {
        double margin = 99;
        EXPECT_EQ(ReadGtpScore(r.text, margin), r.ok) << r.text;
        if (r.ok) {
            EXPECT_DOUBLE_EQ(margin, r.margin) << r.text;
        }
    }
}

} // namespace
} // namespace zel::bot
