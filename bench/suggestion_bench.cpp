// The suggested dead stones at counting, measured on counted games.
//
// Before the timings the program reads the counted games (every *.sgf of
// $ZEL_COUNTED_GAMES, by default the 349-game set; `--games=N` takes the
// first N), asks the game window's estimator (GNU Go over GTP when it can be
// run, else our analysis) for each final game's dead stones, applies them as
// the player's clicks would, counts with the game's rules and komi and
// compares with the recorded result. In the same run GNU Go's own
// `final_score` of the same game (of the first `--final-score-games=N`; it
// plays the game out first and is slow) is compared with the result, and the
// time from question to answer is taken per game. `--misses` lists the games
// whose suggested count differs from the recorded result.
//
// Timings: BM_SuggestGnuGo and BM_SuggestAnalysis, one suggestion per
// iteration over the first games.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CountedGames.h"
#include "core/base/Cp949.h"
#include "core/engine/GoBoard.h"
#include "core/engine/ScoreCount.h"
#include "core/gtp/AnalysisDeadStones.h"
#include "core/gtp/DeadMarks.h"
#include "core/gtp/GtpPosition.h"
#include "os/GtpDeadStones.h"

namespace {

using namespace zel;
using namespace zel::bench;

constexpr int kGnuGoLevel = kJudgeLevel;
constexpr int kGnuGoTimeoutMs = kJudgeTimeoutMs;
constexpr int kFinalScoreTimeoutMs = 120000;

// A counted game and the question the game window would ask about it.
struct TSuggestionCase : TCountedGame {
    TDeadStoneQuery Query;
};

std::vector<TSuggestionCase>& Games(std::size_t limit = 0)
{
    static std::vector<TSuggestionCase> games;
    static bool read = false;
    if (read)
        return games;
    read = true;
    for (TCountedGame& g : ReadCountedGames(limit)) {
        TSuggestionCase c{std::move(g), {}};
        c.Query = GameQuery(c.Board, c.Komi);
        // Setup stones go to the engine as handicap stones, not as moves.
        c.Query.HandicapStones = c.Setup;
        c.Query.Moves.erase(c.Query.Moves.begin(), c.Query.Moves.begin() + c.SetupMoves);
        games.push_back(std::move(c));
    }
    return games;
}

// The margin after the suggested stones were marked as clicks would mark them.
double SuggestedMargin(const TSuggestionCase& game, const std::vector<std::pair<int, int>>& dead)
{
    const TDeadGrid marked = MarkedByPoints(game.Board, dead);
    TDeadMask mask{};
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x)
            mask[static_cast<std::size_t>((y - 1) * kBoardSize + x - 1)] = marked[y][x];
    const TScoreCount s = CountPosition(game.Query.Position, mask, game.Board.BlackPrisoners(),
                                        game.Board.WhitePrisoners(), game.Rules, game.Query.Komi);
    return s.Margin();
}

// `--misses` lists each game whose suggested count differs from its result.
bool g_listMisses = false;

void PrintFigures(DeadStoneEstimator& estimator, TGtpDeadStones* gnugo, std::size_t gnugoGames)
{
    const auto& games = Games();
    int exact = 0, answered = 0, engineExact = 0, engineAnswered = 0, engineAsked = 0;
    std::vector<double> ms;
    for (const auto& game : games) {
        std::vector<std::pair<int, int>> dead;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = estimator.DeadStones(game.Query, dead);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (ok) {
            ++answered;
            const double margin = SuggestedMargin(game, dead);
            exact += margin == game.ResultMargin;
            if (g_listMisses && margin != game.ResultMargin)
                std::printf("miss %s: counted %+.1f, recorded %+.1f, %zu dead suggested\n", game.Name.c_str(), margin,
                            game.ResultMargin, dead.size());
        } else if (g_listMisses) {
            std::printf("miss %s: no answer\n", game.Name.c_str());
        }
        if (gnugo && static_cast<std::size_t>(engineAsked) < gnugoGames) {
            ++engineAsked;
            double margin = 0;
            const std::string score = gnugo->FinalScore(game.Query);
            if (!score.empty()) {
                ++engineAnswered;
                margin = score == "0" ? 0 : std::atof(score.c_str() + 2) * (score[0] == 'B' ? 1 : -1);
                engineExact += margin == game.ResultMargin;
            }
        }
    }
    std::sort(ms.begin(), ms.end());
    const double n = games.empty() ? 1 : static_cast<double>(games.size());
    auto at = [&](double q) { return ms.empty() ? 0.0 : ms[static_cast<std::size_t>(q * (ms.size() - 1))]; };
    std::printf("counted games: %zu from %s\n", games.size(), CountedGamesDir().string().c_str());
    std::printf("| what | final score exact | answered |\n");
    std::printf("| suggestion (%s) applied as clicks + our counting | %.1f %% | %d |\n",
                Cp949ToUtf8(estimator.Name()).c_str(), 100.0 * exact / n, answered);
    if (gnugo)
        std::printf("| GNU Go final_score (its own counting), first %d games | %.1f %% | %d |\n", engineAsked,
                    engineAsked ? 100.0 * engineExact / engineAsked : 0.0, engineAnswered);
    std::printf("time to suggestion: median %.0f ms, 90th percentile %.0f ms, max %.0f ms\n\n", at(0.5), at(0.9),
                at(1.0));
    std::fflush(stdout);
}

void Suggest(benchmark::State& state, DeadStoneEstimator& estimator)
{
    const auto& games = Games();
    if (games.empty()) {
        state.SkipWithError("no counted games");
        return;
    }
    std::size_t i = 0;
    std::vector<std::pair<int, int>> dead;
    for (auto _ : state)
        benchmark::DoNotOptimize(estimator.DeadStones(games[i++ % games.size()].Query, dead));
}

void BM_SuggestAnalysis(benchmark::State& state)
{
    TAnalysisDeadStones analysis;
    Suggest(state, analysis);
}
BENCHMARK(BM_SuggestAnalysis)->Unit(benchmark::kMillisecond);

void BM_SuggestGnuGo(benchmark::State& state)
{
    if (!GnuGoAvailable()) {
        state.SkipWithError("gnugo is not installed");
        return;
    }
    TGtpDeadStones gnugo(GnuGoCommand(kGnuGoLevel), kGnuGoTimeoutMs, "GNU Go");
    Suggest(state, gnugo);
}
BENCHMARK(BM_SuggestGnuGo)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    std::size_t limit = 0;
    std::size_t scored = static_cast<std::size_t>(-1);
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--games=", 8) == 0)
            limit = static_cast<std::size_t>(std::max(0, std::atoi(argv[i] + 8)));
        else if (std::strcmp(argv[i], "--misses") == 0)
            g_listMisses = true;
        else if (std::strncmp(argv[i], "--final-score-games=", 20) == 0)
            scored = static_cast<std::size_t>(std::max(0, std::atoi(argv[i] + 20)));
        else
            rest.push_back(argv[i]);
    }
    Games(limit);
    if (GnuGoAvailable()) {
        TGtpDeadStones gnugo(GnuGoCommand(kGnuGoLevel), kGnuGoTimeoutMs, "GNU Go");
        // GNU Go's own count plays the game out first: it is given its time.
        TGtpDeadStones judge(GnuGoCommand(kGnuGoLevel), kFinalScoreTimeoutMs, "GNU Go");
        PrintFigures(gnugo, &judge, scored);
    }
    TAnalysisDeadStones analysis;
    PrintFigures(analysis, nullptr, 0);
    int count = static_cast<int>(rest.size());
    benchmark::Initialize(&count, rest.data());
    if (benchmark::ReportUnrecognizedArguments(count, rest.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
