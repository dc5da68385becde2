#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <vector>

#include "support/GameSim.h"

namespace zel::test {
namespace {

struct Tally {
    int games = 0, completed = 0, disagreements = 0, moves = 0, adjournments = 0;
    std::map<std::string, int> endings;
    std::vector<std::pair<std::uint64_t, std::string>> incomplete;
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
            tally.incomplete.emplace_back(seed, o.cause);
        }
        if (!o.positionsAgree) {
            ++tally.disagreements;
            ADD_FAILURE() << "seed " << seed << ": two positions for " << o.disagreement;
        }
    }
    return tally;
}

// The share of `games` that must complete, scaled to the games played.
int AtLeast(const Tally& t, int ofThousand)
{
    return (t.games * ofThousand + 999) / 1000;
}

void Print(const char* title, const Tally& t)
{
    std::printf("%s: %d of %d games completed (%.1f %%)", title, t.completed, t.games, 100.0 * t.completed / t.games);
    for (const auto& [ending, n] : t.endings)
        std::printf(", %s %d", ending.c_str(), n);
    std::printf("; %d moves, %d adjournments\n", t.moves, t.adjournments);
    for (const auto& [seed, cause] : t.incomplete)
        std::printf("  seed %llu: %s\n", static_cast<unsigned long long>(seed), cause.c_str());
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

// Every lost handshake message is sent again or answered again, so a game
// ends on both sides even when texts are lost.
TEST(GameSim, DroppedTextsStillEndTheGame)
{
    struct Row {
        double drop;
        int ofThousand;
        std::uint64_t firstSeed;
    };
    for (const Row& row : {Row{0.02, 999, 200001}, Row{0.05, 990, 500001}}) {
        SimFaults faults;
        faults.drop = row.drop;
        Tally t = Play(1000, row.firstSeed, faults);
        char title[64];
        std::snprintf(title, sizeof title, "%.0f %% dropped", row.drop * 100);
        Print(title, t);
        EXPECT_EQ(t.disagreements, 0) << title;
        EXPECT_GE(t.completed, AtLeast(t, row.ofThousand)) << title;
    }
}

// A late copy of an older message is never applied over a newer one.
TEST(GameSim, ReorderedTextsEndAlike)
{
    SimFaults faults;
    faults.duplicate = 0.10;
    faults.maxDelayMs = 2000;
    faults.reorder = true;
    Tally t = Play(1000, 400001, faults);
    Print("10 % duplicated, delays up to 2 s, reordered", t);
    EXPECT_EQ(t.disagreements, 0);
    EXPECT_EQ(t.completed, t.games);
}

// A client that follows the wire as first written plays whole games with
// ours, whichever of the two asks first.
TEST(GameSim, ClientAsFirstWrittenPlaysWithOurs)
{
    for (int asWritten : {1, 2}) {
        SimFaults faults;
        faults.asWritten = asWritten;
        Tally t = Play(500, 600001 + 1000 * static_cast<std::uint64_t>(asWritten), faults);
        Print(asWritten == 1 ? "asker as first written" : "addressee as first written", t);
        EXPECT_EQ(t.disagreements, 0);
        EXPECT_EQ(t.completed, t.games);
    }
}

// Games the soak found stuck, replayed with their fault mix.
TEST(GameSim, SoakFindingsEndTheGame)
{
    struct Row {
        const char* what;
        std::uint64_t seed;
        double drop;
        int maxDelayMs;
    };
    const Row rows[] = {
        // Every copy of the first request lost or late; one arrives after it
        // lapsed, is accepted while the asker asks again with other terms.
        {"a request accepted after it lapsed", 481135066458ull, 0.0758, 2885},
    };
    for (const Row& row : rows) {
        SimFaults faults;
        faults.drop = row.drop;
        faults.maxDelayMs = row.maxDelayMs;
        const SimOutcome o = RunSimGame(row.seed, faults);
        EXPECT_TRUE(o.positionsAgree) << row.what << ": " << o.disagreement;
        EXPECT_TRUE(o.completed) << row.what << ": " << o.cause;
    }
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

double EnvNumber(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::atof(v) : 0.0;
}

SimFaults FaultsFromEnvironment()
{
    SimFaults faults;
    faults.drop = EnvNumber("ZEL_SIM_DROP");
    faults.duplicate = EnvNumber("ZEL_SIM_DUP");
    faults.maxDelayMs = static_cast<int>(EnvNumber("ZEL_SIM_DELAY"));
    faults.disconnect = EnvNumber("ZEL_SIM_LEAVE");
    faults.reorder = std::getenv("ZEL_SIM_REORDER") != nullptr;
    faults.asWritten = static_cast<int>(EnvNumber("ZEL_SIM_AS_WRITTEN"));
    return faults;
}

// ZEL_SIM_SEED=n (with ZEL_SIM_DROP, ZEL_SIM_DUP, ZEL_SIM_DELAY, ZEL_SIM_LEAVE, ZEL_SIM_REORDER,
// ZEL_SIM_AS_WRITTEN=1|2|3) replays one game; with ZEL_SIM_TRACE set it prints its messages.
// With ZEL_SIM_GAMES=k it plays k games from that seed on and prints the tally.
TEST(GameSim, ReplayOneSeed)
{
    const char* seed = std::getenv("ZEL_SIM_SEED");
    if (!seed)
        GTEST_SKIP() << "set ZEL_SIM_SEED to replay a game";
    const SimFaults faults = FaultsFromEnvironment();
    const std::uint64_t first = std::strtoull(seed, nullptr, 10);
    if (const int games = static_cast<int>(EnvNumber("ZEL_SIM_GAMES")); games > 0) {
        Print("replayed", Play(games * kShare, first, faults));
        return;
    }
    SimOutcome o = RunSimGame(first, faults);
    std::printf("completed %d, moves %d, adjournments %d, positions agree %d %s, cause: %s\n", o.completed, o.moves,
                o.adjournments, o.positionsAgree, o.disagreement.c_str(), o.cause.c_str());
    EXPECT_TRUE(o.positionsAgree) << o.disagreement;
    EXPECT_TRUE(o.completed) << o.cause;
}

} // namespace
} // namespace zel::test

namespace zel::test {
namespace {

// ZEL_SIM_SOAK_SECONDS=s plays games with random seeds and random fault mixes
// for s seconds and stops at the first divergence (two positions for one move
// count, or records or results that differ), printing how to replay it.
TEST(GameSim, Soak)
{
    const double seconds = EnvNumber("ZEL_SIM_SOAK_SECONDS");
    if (seconds <= 0)
        GTEST_SKIP() << "set ZEL_SIM_SOAK_SECONDS to soak";
    std::random_device device;
    std::mt19937_64 pick((static_cast<std::uint64_t>(device()) << 32) ^ device());
    auto uniform = [&pick](double hi) { return std::uniform_real_distribution<double>(0, hi)(pick); };
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int games = 0, completed = 0, incomplete = 0;
    while (std::chrono::steady_clock::now() < end) {
        SimFaults f;
        const std::uint64_t seed = pick() % 1000000000000ull;
        if (uniform(1) < 0.15) {
            f.asWritten = uniform(1) < 0.5 ? 1 : 2; // the compatibility case has no faults
        } else {
            f.drop = uniform(1) < 0.7 ? uniform(0.08) : 0;
            f.duplicate = uniform(1) < 0.6 ? uniform(0.2) : 0;
            f.maxDelayMs = uniform(1) < 0.6 ? static_cast<int>(uniform(3000)) : 0;
            f.reorder = uniform(1) < 0.5;
            f.disconnect = uniform(1) < 0.2 ? uniform(0.5) : 0;
        }
        char replay[320];
        std::snprintf(replay, sizeof replay,
                      "ZEL_SIM_SEED=%llu ZEL_SIM_DROP=%.4f ZEL_SIM_DUP=%.4f ZEL_SIM_DELAY=%d ZEL_SIM_LEAVE=%.4f%s "
                      "ZEL_SIM_AS_WRITTEN=%d build/tests/test_sim --gtest_filter=GameSim.ReplayOneSeed",
                      static_cast<unsigned long long>(seed), f.drop, f.duplicate, f.maxDelayMs, f.disconnect,
                      f.reorder ? " ZEL_SIM_REORDER=1" : "", f.asWritten);
        const SimOutcome o = RunSimGame(seed, f);
        ++games;
        if (o.completed) {
            ++completed;
            continue;
        }
        const bool diverged = !o.positionsAgree || o.cause.rfind("different", 0) == 0 || o.cause.rfind("only", 0) == 0;
        ++incomplete;
        std::printf("%s: %s\n  %s\n", diverged ? "DIVERGED" : "incomplete",
                    o.positionsAgree ? o.cause.c_str() : ("two positions for " + o.disagreement).c_str(), replay);
        std::fflush(stdout);
        if (diverged) {
            ADD_FAILURE() << "diverged: " << replay;
            break;
        }
    }
    std::printf("soak: %d games, %d completed, %d incomplete\n", games, completed, incomplete);
}

} // namespace
} // namespace zel::test
