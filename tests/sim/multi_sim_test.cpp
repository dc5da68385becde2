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

// Runs the seeds first..last with `guests` guests each, the host leaving
// and coming back where `away` says so, and prints the tally as `what`.
MultiTally RunSeeds(const char* what, std::uint64_t first, std::uint64_t last, const SimFaults& faults, int guests,
                    bool (*away)(std::uint64_t seed))
{
    MultiTally tally;
    for (std::uint64_t seed = first; seed <= last; ++seed)
        tally.Add(seed, RunMultiSim(seed, faults, guests, away(seed)));
    tally.Print(what);
    return tally;
}

TEST(MultiSim, HostPlaysThreeGuestsToTheEndOnAClearLine)
{
    const MultiTally tally = RunSeeds("clear line", 1, 40, SimFaults{}, 3, [](std::uint64_t) { return false; });
    EXPECT_EQ(tally.finished, tally.games);
    EXPECT_EQ(tally.games, 120);
    EXPECT_GT(tally.counted, 0);
    EXPECT_GT(tally.resigned, 0);
}

TEST(MultiSim, HostLeavesWithSlashXReturnsAndFinishesAllThree)
{
    const MultiTally tally =
        RunSeeds("host away and back", 101, 140, SimFaults{}, 3, [](std::uint64_t) { return true; });
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
    const MultiTally tally = RunSeeds("10% duplicated, up to 2 s late", 201, 240, faults, 3,
                                      [](std::uint64_t seed) { return seed % 2 == 0; });
    EXPECT_EQ(tally.finished, tally.games);
    EXPECT_EQ(tally.games, 120);
}

TEST(MultiSim, TwentyGuestsAtOnce)
{
    const MultiTally tally =
        RunSeeds("twenty guests", 301, 303, SimFaults{}, 20, [](std::uint64_t seed) { return seed == 302; });
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
