// The suggested dead stones at counting, measured on counted games.
//
// Before the timings the program reads the counted games (every *.sgf of
// $ZEL_COUNTED_GAMES, by default the 349-game set; `--games=N` takes the
// first N), asks the game window's estimators for each final game's dead
// stones as the window does (GNU Go's quick judgement and, at the same time,
// its full `final_status_list dead`, whose answer replaces the first; our
// analysis alone without GNU Go), applies each answer as the player's clicks
// would, counts with the game's rules and komi and compares with the
// recorded result; the times to the first and to the final suggestion are
// taken per game. In the same run GNU Go's own
// `final_score` of the same game (of the first `--final-score-games=N`; it
// plays the game out first and is slow) is compared with the result.
// `--misses` lists the games whose suggested count differs from the recorded
// result, first or final.
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

// One stage of the suggestion: how often it counts right and how long it
// keeps the player waiting.
struct TStageFigures {
    int exact = 0;
    int answered = 0;
    std::vector<double> ms;

    double At(double q)
    {
        std::sort(ms.begin(), ms.end());
        return ms.empty() ? 0.0 : ms[static_cast<std::size_t>(q * static_cast<double>(ms.size() - 1))];
    }
};

struct TAnswer {
    bool ok = false;
    std::vector<std::pair<int, int>> dead;
    double ms = 0;
};

TAnswer Ask(DeadStoneEstimator& estimator, const TDeadStoneQuery& query)
{
    TAnswer a;
    const auto start = std::chrono::steady_clock::now();
    a.ok = estimator.DeadStones(query, a.dead);
    a.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return a;
}

// Scores an answer; `stage` names it in the list of misses.
void Score(const TSuggestionCase& game, const TAnswer& a, const char* stage, TStageFigures& f)
{
    f.ms.push_back(a.ms);
    if (!a.ok) {
        if (g_listMisses)
            std::printf("miss %s (%s): no answer\n", game.Name.c_str(), stage);
        return;
    }
    ++f.answered;
    const double margin = SuggestedMargin(game, a.dead);
    f.exact += margin == game.ResultMargin;
    if (g_listMisses && margin != game.ResultMargin)
        std::printf("miss %s (%s): counted %+.1f, recorded %+.1f, %zu dead suggested\n", game.Name.c_str(), stage,
                    margin, game.ResultMargin, a.dead.size());
}

// The game window's two steps: the second estimator is asked once the first
// has answered, as the window asks them; its answer, when it comes, is the
// final suggestion (the first stays when it gives none). Times count from
// the start of marking.
void PrintFigures(DeadStoneEstimator& first, DeadStoneEstimator* second, TGtpDeadStones* gnugo, std::size_t gnugoGames)
{
    const auto& games = Games();
    TStageFigures quick, final;
    int engineExact = 0, engineAnswered = 0, engineAsked = 0, secondAnswered = 0;
    for (const auto& game : games) {
        const TAnswer early = Ask(first, game.Query);
        TAnswer late;
        if (second) {
            late = Ask(*second, game.Query);
            late.ms += early.ms;
        }
        Score(game, early, "first", quick);
        if (second && late.ok) {
            ++secondAnswered;
            Score(game, late, "final", final);
        } else {
            TAnswer kept = early;
            kept.ms = second ? late.ms : early.ms;
            Score(game, kept, "final", final);
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
    const double n = games.empty() ? 1 : static_cast<double>(games.size());
    std::printf("counted games: %zu from %s\n", games.size(), CountedGamesDir().string().c_str());
    std::printf("| what | final score exact | answered |\n");
    std::printf("| first suggestion (%s) applied as clicks + our counting | %.1f %% (%d) | %d |\n",
                Cp949ToUtf8(first.Name()).c_str(), 100.0 * quick.exact / n, quick.exact, quick.answered);
    if (second)
        std::printf(
            "| final suggestion (%s, second step answered %d) applied as clicks + our counting | %.1f %% (%d) | "
            "%d |\n",
            Cp949ToUtf8(second->Name()).c_str(), secondAnswered, 100.0 * final.exact / n, final.exact, final.answered);
    if (gnugo)
        std::printf("| GNU Go final_score (its own counting), first %d games | %.1f %% | %d |\n", engineAsked,
                    engineAsked ? 100.0 * engineExact / engineAsked : 0.0, engineAnswered);
    std::printf("time to first suggestion: median %.0f ms, 90th percentile %.0f ms, max %.0f ms\n", quick.At(0.5),
                quick.At(0.9), quick.At(1.0));
    if (second)
        std::printf("time to final suggestion: median %.0f ms, 90th percentile %.0f ms, max %.0f ms\n", final.At(0.5),
                    final.At(0.9), final.At(1.0));
    std::printf("\n");
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
        // The game window's estimators.
        const auto first = MakeDeadStoneEstimator();
        const auto second = MakeFinalDeadStoneEstimator();
        // GNU Go's own count plays the game out first: it is given its time.
        TGtpDeadStones judge(GnuGoCommand(kGnuGoLevel), kFinalScoreTimeoutMs, "GNU Go");
        PrintFigures(*first, second.get(), &judge, scored);
    }
    TAnalysisDeadStones analysis;
    PrintFigures(analysis, nullptr, nullptr, 0);
    int count = static_cast<int>(rest.size());
    benchmark::Initialize(&count, rest.data());
    if (benchmark::ReportUnrecognizedArguments(count, rest.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
