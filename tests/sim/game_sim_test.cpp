#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "support/GameSim.h"

namespace zel::test {
namespace {

struct Tally {
    int games = 0, completed = 0, disagreements = 0, moves = 0, adjournments = 0;
    std::map<std::string, int> endings, causes;
    std::map<std::string, std::uint64_t> causeSeed;
};

// Sanitizer builds play a fifth of the games: they look for memory faults,
// the full runs belong to the plain build.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kShare = 5;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kShare = 5;
#else
constexpr int kShare = 1;
#endif
#else
constexpr int kShare = 1;
#endif

Tally Play(int games, std::uint64_t firstSeed, const SimFaults& faults)
{
    games /= kShare;
    Tally tally;
    for (int i = 0; i < games; ++i) {
        std::uint64_t seed = firstSeed + static_cast<std::uint64_t>(i);
        SimOutcome o = RunSimGame(seed, faults);
        ++tally.games;
        tally.moves += o.moves;
        tally.adjournments += o.adjournments;
        if (o.completed) {
            ++tally.completed;
            ++tally.endings[o.ending];
        } else {
            ++tally.causes[o.cause];
            tally.causeSeed.emplace(o.cause, seed);
        }
        if (!o.positionsAgree) {
            ++tally.disagreements;
            ADD_FAILURE() << "seed " << seed << ": two positions for " << o.disagreement;
        }
    }
    return tally;
}

void Print(const char* title, const Tally& t)
{
    std::printf("%s: %d of %d games completed (%.1f %%)", title, t.completed, t.games, 100.0 * t.completed / t.games);
    for (const auto& [ending, n] : t.endings)
        std::printf(", %s %d", ending.c_str(), n);
    std::printf("; %d moves, %d adjournments\n", t.moves, t.adjournments);
    for (const auto& [cause, n] : t.causes)
        std::printf("  %4d  %s (seed %llu)\n", n, cause.c_str(),
                    static_cast<unsigned long long>(t.causeSeed.at(cause)));
}

TEST(GameSim, ThousandGamesWithoutFaultsEndAlike)
{
    Tally t = Play(1000, 1, SimFaults{});
    Print("no faults", t);
    EXPECT_EQ(t.completed, t.games);
    EXPECT_GT(t.endings["count"], 0);
    EXPECT_GT(t.endings["resign"], 0);
    EXPECT_GT(t.endings["time"], 0);
}

TEST(GameSim, ThousandGamesWithDuplicatesAndDelaysEndAlike)
{
    SimFaults faults;
    faults.duplicate = 0.10;
    faults.maxDelayMs = 2000;
    Tally t = Play(1000, 100001, faults);
    Print("10 % duplicated, delays up to 2 s", t);
    EXPECT_EQ(t.completed, t.games);
}

TEST(GameSim, DroppedTextsNeverSplitThePosition)
{
    SimFaults faults;
    faults.drop = 0.02;
    Tally t = Play(1000, 200001, faults);
    Print("2 % dropped", t);
    EXPECT_EQ(t.disagreements, 0);
    EXPECT_GT(t.completed, t.games * 9 / 10);
}

TEST(GameSim, ReorderedTextsNeverSplitThePosition)
{
    SimFaults faults;
    faults.duplicate = 0.10;
    faults.maxDelayMs = 2000;
    faults.reorder = true;
    Tally t = Play(500, 400001, faults);
    Print("10 % duplicated, delays up to 2 s, reordered", t);
    EXPECT_EQ(t.disagreements, 0);
}

TEST(GameSim, DepartureAndReturnResumeTheGame)
{
    SimFaults faults;
    faults.disconnect = 1.0;
    Tally t = Play(200, 300001, faults);
    Print("one side leaves and returns", t);
    EXPECT_EQ(t.disagreements, 0);
    EXPECT_EQ(t.completed, t.games);
}

} // namespace
} // namespace zel::test

namespace zel::test {
namespace {

// ZEL_SIM_SEED=n (with ZEL_SIM_DROP, ZEL_SIM_DUP, ZEL_SIM_DELAY, ZEL_SIM_LEAVE, ZEL_SIM_REORDER)
// replays one game; with ZEL_SIM_TRACE set it prints its messages.
TEST(GameSim, ReplayOneSeed)
{
    const char* seed = std::getenv("ZEL_SIM_SEED");
    if (!seed)
        GTEST_SKIP() << "set ZEL_SIM_SEED to replay a game";
    auto number = [](const char* name) { return std::getenv(name) ? std::atof(std::getenv(name)) : 0.0; };
    SimFaults faults;
    faults.drop = number("ZEL_SIM_DROP");
    faults.duplicate = number("ZEL_SIM_DUP");
    faults.maxDelayMs = static_cast<int>(number("ZEL_SIM_DELAY"));
    faults.disconnect = number("ZEL_SIM_LEAVE");
    faults.reorder = std::getenv("ZEL_SIM_REORDER") != nullptr;
    SimOutcome o = RunSimGame(std::strtoull(seed, nullptr, 10), faults);
    std::printf("completed %d, moves %d, adjournments %d, cause: %s\n", o.completed, o.moves, o.adjournments,
                o.cause.c_str());
}

} // namespace
} // namespace zel::test
