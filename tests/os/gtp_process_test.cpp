// The engine process adapter against GNU Go and against a script engine that
// hangs or dies on command.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "os/GtpProcess.h"
#include "support/ScriptEngine.h"

namespace zel {
namespace {
namespace fs = std::filesystem;

// Answers every command with its name and arguments and with the number of
// lines this process has read; "hang" never answers, "die" ends the process,
// "die_once" does so only the first time (a marker file remembers). Its
// process number goes to $0.pid.
constexpr const char* kScript = R"(#!/bin/sh
echo $$ > "$0.pid"
n=0
while read -r id cmd rest; do
  n=$((n + 1))
  case "$cmd" in
    hang) exec sleep 30 ;;
    die) exit 1 ;;
    die_once) if [ ! -e "$0.mark" ]; then : > "$0.mark"; exit 1; fi ;;
    garble) printf 'nonsense\n\n'; continue ;;
    quit) printf '=%s \n\n' "$id"; exit 0 ;;
  esac
  printf '=%s %s %s #%d\n\n' "$id" "$cmd" "$rest" "$n"
done
)";

class GtpProcessTest : public test::ScriptEngineTest {
protected:
    void SetUp() override { WriteEngine("zel_gtp_", kScript); }
};

TEST_F(GtpProcessTest, AnswersInOrder)
{
    TGtpProcess engine({script}, 2000);
    std::string reply;
    EXPECT_EQ(engine.Run("play b D4", reply), TGtpRunStatus::Ok);
    EXPECT_EQ(reply, "play b D4 #1");
    EXPECT_EQ(engine.Run("name", reply), TGtpRunStatus::Ok);
    EXPECT_EQ(reply, "name  #2");
    EXPECT_EQ(engine.Run("play b D4\nquit", reply), TGtpRunStatus::BadInput);
    EXPECT_EQ(engine.Starts(), 1);
}

// Each failure gets one restart with the earlier commands replayed; a second
// failure of the same command is reported, and the next command starts the
// engine again.
TEST_F(GtpProcessTest, SurvivesTheEngine)
{
    struct Row {
        const char* command;
        TGtpRunStatus status;
        int starts;
    };
    const Row rows[] = {
        {"die_once", TGtpRunStatus::Ok, 2},
        {"die", TGtpRunStatus::Failed, 2},
        {"hang", TGtpRunStatus::Failed, 2},
        {"garble", TGtpRunStatus::Failed, 2},
    };
    for (const Row& r : rows) {
        fs::remove(script + ".mark");
        TGtpProcess engine({script}, 300);
        std::string reply;
        ASSERT_EQ(engine.Run("clear_board", reply), TGtpRunStatus::Ok) << r.command;
        ASSERT_EQ(engine.Run("play b D4", reply), TGtpRunStatus::Ok) << r.command;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(engine.Run(r.command, reply), r.status) << r.command;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << r.command;
        EXPECT_EQ(engine.Starts(), r.starts) << r.command;
        // The restarted engine was given the position again first.
        EXPECT_EQ(engine.Run("name", reply), TGtpRunStatus::Ok) << r.command;
        EXPECT_EQ(reply, r.status == TGtpRunStatus::Ok ? "name  #4" : "name  #3") << r.command;
    }
}

TEST_F(GtpProcessTest, AnEngineThatCannotStart)
{
    TGtpProcess engine({(dir / "no-such-engine").string()}, 300);
    std::string reply;
    EXPECT_EQ(engine.Run("name", reply), TGtpRunStatus::Failed);
}

// A program killed while its engine thinks takes the engine with it.
TEST_F(GtpProcessTest, TheEngineEndsWithTheProgramThatStartedIt)
{
    const pid_t program = fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        TGtpProcess engine({script}, 2000);
        std::string reply;
        engine.Run("name", reply);
        engine.Run("hang", reply);
        _exit(0);
    }
    pid_t engine = 0;
    for (int i = 0; i < 300 && engine == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream(script + ".pid") >> engine;
    }
    ASSERT_GT(engine, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // into "hang"
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    // Gone, or a zombie waiting for whoever adopted it.
    auto alive = [engine] {
        std::ifstream stat("/proc/" + std::to_string(engine) + "/stat");
        std::string pid, name, state;
        return stat >> pid >> name >> state && state != "Z";
    };
    for (int i = 0; i < 200 && alive(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(alive());
}

TEST(GtpProcess, GnuGo)
{
    if (access("/usr/games/gnugo", X_OK) != 0 && access("/usr/bin/gnugo", X_OK) != 0)
        GTEST_SKIP() << "gnugo is not installed";
    TGtpProcess engine(GnuGoCommand(1), 10000);
    std::string reply;
    EXPECT_EQ(engine.Run("name", reply), TGtpRunStatus::Ok);
    EXPECT_EQ(reply, "GNU Go");
    EXPECT_EQ(engine.Run("boardsize 19", reply), TGtpRunStatus::Ok);
    EXPECT_EQ(engine.Run("play b D4", reply), TGtpRunStatus::Ok);
    EXPECT_EQ(engine.Run("play w D4", reply), TGtpRunStatus::Refused);
    EXPECT_EQ(reply, "illegal move");
    EXPECT_EQ(engine.Run("genmove w", reply), TGtpRunStatus::Ok);
    EXPECT_EQ(reply.size() >= 2, true) << reply;
    EXPECT_EQ(engine.Starts(), 1);
}

} // namespace
} // namespace zel
