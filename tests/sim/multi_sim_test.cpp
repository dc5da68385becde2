#include <gtest/gtest.h>

#include <cstdio>

#include "support/GameSim.h"

namespace zel::test {
namespace {

struct MultiTally {
    int runs = 0, games = 0, finished = 0, counted = 0, resigned = 0, timeLosses = 0, restored = 0, resumed = 0;
    void Add(std::uint64_t seed, const MultiSimOutcome& o)
    {
        ++runs;
        games += o.games;
        finished += o.finished;
        counted += o.counted;
        resigned += o.resigned;
        timeLosses += o.timeLosses;
        restored += o.restored;
        resumed += o.resumed;
        if (!o.cause.empty())
            ADD_FAILURE() << "seed " << seed << ": " << o.Figures();
    }
    void Print(const char* what) const
    {
        std::printf("[multi-sim] %s: %d runs, %d/%d games finished alike (%d counted, %d resigned, %d on time), "
                    "%d boards restored, %d games resumed\n",
                    what, runs, finished, games, counted, resigned, timeLosses, restored, resumed);
        RecordProperty(what, std::to_string(finished) + "/" + std::to_string(games));
    }
    static void RecordProperty(const char* key, const std::string& value)
    {
        ::testing::Test::RecordProperty(key, value);
    }
};

TEST(MultiSim, HostPlaysThreeGuestsToTheEndOnAClearLine)
{
    MultiTally tally;
    for (std::uint64_t seed = 1; seed <= 40; ++seed)
        tally.Add(seed, RunMultiSim(seed, SimFaults{}, 3, false));
    tally.Print("clear line");
    EXPECT_EQ(tally.finished, tally.games);
    EXPECT_EQ(tally.games, 120);
    EXPECT_GT(tally.counted, 0);
    EXPECT_GT(tally.resigned, 0);
}

TEST(MultiSim, HostLeavesWithSlashXReturnsAndFinishesAllThree)
{
    MultiTally tally;
    for (std::uint64_t seed = 101; seed <= 140; ++seed)
        tally.Add(seed, RunMultiSim(seed, SimFaults{}, 3, true));
    tally.Print("host away and back");
    EXPECT_EQ(tally.finished, tally.games);
    EXPECT_EQ(tally.games, 120);
    EXPECT_EQ(tally.restored, 120);
    EXPECT_EQ(tally.resumed, 120);
}

TEST(MultiSim, DuplicatedAndDelayedTextsStillFinishEveryGameAlike)
{
    SimFaults faults;
    faults.duplicate = 0.1;
    faults.maxDelayMs = 2000;
    MultiTally tally;
    for (std::uint64_t seed = 201; seed <= 240; ++seed)
        tally.Add(seed, RunMultiSim(seed, faults, 3, seed % 2 == 0));
    tally.Print("10% duplicated, up to 2 s late");
    EXPECT_EQ(tally.finished, tally.games);
    EXPECT_EQ(tally.games, 120);
}

TEST(MultiSim, TwentyGuestsAtOnce)
{
    MultiTally tally;
    for (std::uint64_t seed = 301; seed <= 303; ++seed)
        tally.Add(seed, RunMultiSim(seed, SimFaults{}, 20, seed == 302));
    tally.Print("twenty guests");
    EXPECT_EQ(tally.finished, tally.games);
    EXPECT_EQ(tally.games, 60);
}

// Lost texts are beyond what the host's boards promise: the figures are
// printed, and most games must still finish alike.
TEST(MultiSim, LostTextsFiguresOnly)
{
    SimFaults lossy;
    lossy.drop = 0.03;
    lossy.duplicate = 0.05;
    lossy.maxDelayMs = 1000;
    int games = 0, finished = 0;
    for (std::uint64_t seed = 401; seed <= 420; ++seed) {
        MultiSimOutcome o = RunMultiSim(seed, lossy, 3, seed % 3 == 0);
        games += o.games;
        finished += o.finished;
        if (!o.cause.empty())
            std::printf("[multi-sim] seed %llu: %s\n", static_cast<unsigned long long>(seed), o.Figures().c_str());
    }
    std::printf("[multi-sim] 3%% lost, 5%% duplicated, up to 1 s late: %d/%d games finished alike\n", finished, games);
    EXPECT_GE(finished * 10, games * 9);
}

} // namespace
} // namespace zel::test
