// The dead stones asked of a GTP engine: a script engine that notes the
// commands it is given and answers as GNU Go would.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/gtp/EstimatorChain.h"
#include "os/GtpDeadStones.h"
#include "support/ScriptEngine.h"

namespace zel {
namespace {
namespace fs = std::filesystem;

// $1: "nodragons" refuses dragon_status, "slowfinal" never answers
// final_status_list; every command's name goes to $0.log.
constexpr const char* kScript = R"(#!/bin/sh
while read -r id cmd rest; do
  echo "$cmd" >> "$0.log"
  case "$cmd" in
    dragon_status)
      if [ "$1" = nodragons ]; then printf '?%s unknown command\n\n' "$id"; continue; fi
      printf '=%s C3: dead\nQ16: alive\nR4: dead\n\n' "$id" ;;
    dragon_stones)
      if [ "$rest" = C3 ]; then printf '=%s C3 C4\n\n' "$id"; else printf '=%s R4\n\n' "$id"; fi ;;
    final_status_list)
      if [ "$1" = slowfinal ]; then exec sleep 30; fi
      printf '=%s D4 E5\n\n' "$id" ;;
    quit) printf '=%s\n\n' "$id"; exit 0 ;;
    *) printf '=%s\n\n' "$id" ;;
  esac
done
)";

class GtpDeadStonesTest : public test::ScriptEngineTest {
protected:
    void SetUp() override
    {
        WriteEngine("zel_gtpdead_", kScript);
        query.Moves = {{1, 4, 4}, {2, 16, 16}, {1, 0, 0}};
        query.Komi = 6.5;
    }
    // The names of the commands the engine was given, one line each.
    std::string Log() const
    {
        std::ifstream in(script + ".log");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TDeadStoneQuery query;
};

TEST_F(GtpDeadStonesTest, TheTwoWaysOfAsking)
{
    using Dead = std::vector<std::pair<int, int>>;
    const std::string setup = "boardsize\nclear_board\nkomi\nplay\nplay\nplay\n";
    // Points are (x, y) with row 1 at the top: C3 is (3, 17).
    struct Row {
        const char* flag;
        TGtpDeadStones::Method method;
        Dead dead;
        std::string log;
    };
    const Row rows[] = {
        // The stones of each dead dragon, none of the living one's.
        {"",
         TGtpDeadStones::Method::Dragons,
         {{3, 17}, {3, 16}, {17, 16}},
         setup + "dragon_status\ndragon_stones\ndragon_stones\n"},
        {"", TGtpDeadStones::Method::Final, {{4, 16}, {5, 15}}, setup + "final_status_list\n"},
        // An engine without dragon_status is asked for its final status.
        {"nodragons",
         TGtpDeadStones::Method::Dragons,
         {{4, 16}, {5, 15}},
         setup + "dragon_status\nfinal_status_list\n"},
    };
    for (const Row& r : rows) {
        fs::remove(script + ".log");
        TGtpDeadStones engine({script, r.flag}, 2000, "engine", r.method);
        Dead dead{{9, 9}};
        ASSERT_TRUE(engine.DeadStones(query, dead)) << r.flag;
        EXPECT_EQ(dead, r.dead) << r.flag;
        EXPECT_EQ(Log(), r.log) << r.flag;
        EXPECT_EQ(engine.EngineStarts(), 1) << r.flag;
    }
}

// Closing while the engine thinks: the question ends at once, answered false,
// without the restart a time-out would bring; later questions are not sent.
TEST_F(GtpDeadStonesTest, CancelEndsAQuestionUnderWay)
{
    TGtpDeadStones engine({script, "slowfinal"}, 20000, "engine", TGtpDeadStones::Method::Final);
    std::thread closer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        engine.Cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::pair<int, int>> dead;
    EXPECT_FALSE(engine.DeadStones(query, dead));
    closer.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(engine.EngineStarts(), 1);
    EXPECT_FALSE(engine.DeadStones(query, dead));
    EXPECT_EQ(engine.EngineStarts(), 1);
}

// A chain told to stop asks neither of its estimators again.
TEST_F(GtpDeadStonesTest, ACancelledChainFallsBackToNothing)
{
    auto first = std::make_unique<TGtpDeadStones>(std::vector<std::string>{script, "slowfinal"}, 20000, "first",
                                                  TGtpDeadStones::Method::Final);
    auto second = std::make_unique<TGtpDeadStones>(std::vector<std::string>{script}, 2000, "second");
    TGtpDeadStones* fallback = second.get();
    TEstimatorChain chain(std::move(first), std::move(second));
    std::thread closer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        chain.Cancel();
    });
    std::vector<std::pair<int, int>> dead;
    EXPECT_FALSE(chain.DeadStones(query, dead));
    closer.join();
    EXPECT_EQ(fallback->EngineStarts(), 0);
}

} // namespace
} // namespace zel
