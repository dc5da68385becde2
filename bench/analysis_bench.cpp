// Cost and quality of the position analysis (the game window's "형세 분석"
// click).
//
// Quality: before the timings, the program reads the counted games (every
// *.sgf of $ZEL_COUNTED_GAMES, by default the 349-game set), marks the dead
// stones of each final position, counts with the game's rules and komi and
// compares with its result, and compares the dead stones stone by stone with
// GNU Go's `final_status_list dead` (bench/data/gnugo-dead-349.txt, written by
// bench/make_gnugo_dead.py).
//
// Cost: BM_AnalysePosition on a random game, BM_AnalyseCountedGames on the
// final positions; the reference measured in the same run is BM_BoardReplay,
// replaying a game of 250 moves on a fresh board.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "CountedGames.h"
#include "core/engine/GoBoard.h"
#include "core/engine/PositionAnalysis.h"
#include "core/engine/ScoreCount.h"

namespace {

using namespace zel;
using namespace zel::bench;

// A random legal game: moves tried at random points until one is legal.
std::vector<std::pair<int, int>> RandomGame(int moves, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::pair<int, int>> game;
    TGoBoard board;
    for (int m = 0; m < moves; ++m)
        for (int attempt = 0; attempt < 50; ++attempt) {
            const int x = static_cast<int>(random() % 19) + 1, y = static_cast<int>(random() % 19) + 1;
            if (board.PlayAt(x, y)) {
                game.push_back({x, y});
                break;
            }
        }
    return game;
}

std::string PositionAfter(const std::vector<std::pair<int, int>>& game, std::size_t moves)
{
    TGoBoard board;
    for (std::size_t i = 0; i < moves && i < game.size(); ++i)
        board.PlayAt(game[i].first, game[i].second);
    return PositionOf(board);
}

const std::vector<std::pair<int, int>>& Game()
{
    static const auto game = RandomGame(250, 7);
    return game;
}

const std::vector<TCountedGame>& CountedGames()
{
    static const std::vector<TCountedGame> games = ReadCountedGames();
    return games;
}

// GNU Go's dead stones per game file name.
std::map<std::string, TDeadMask> GnuGoDead()
{
    std::map<std::string, TDeadMask> dead;
    std::ifstream in(std::string(ZEL_BENCH_DATA) + "/gnugo-dead-349.txt");
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        TDeadMask& mask = dead[line.substr(0, colon)];
        mask.fill(false);
        std::istringstream vertices(line.substr(colon + 1));
        std::string v;
        while (vertices >> v) {
            const int col = v[0] - 'A' + (v[0] > 'I' ? 0 : 1);
            const int row = 19 - std::atoi(v.c_str() + 1) + 1;
            if (col >= 1 && col <= 19 && row >= 1 && row <= 19)
                mask[static_cast<std::size_t>((row - 1) * 19 + col - 1)] = true;
        }
    }
    return dead;
}

TDeadMask OurDead(TPositionAnalysis& analysis, const TCountedGame& game)
{
    analysis.ResetAnalysis();
    analysis.AnalysePosition(game.Position, game.SideToMove);
    TDeadMask mask{};
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c)
            mask[static_cast<std::size_t>((r - 1) * 19 + c - 1)] = analysis.IsDead(r, c);
    return mask;
}

bool ScoresExactly(const TCountedGame& game, const TDeadMask& dead)
{
    const TScoreCount s = CountPosition(game.Position, dead, game.Board.BlackPrisoners(), game.Board.WhitePrisoners(),
                                        game.Rules, game.Komi);
    return s.Margin() == game.ResultMargin;
}

// The figures of the data set's table, our row included.
void PrintCountedFigures()
{
    const auto& games = CountedGames();
    const auto gnugo = GnuGoDead();
    auto analysis = std::make_unique<TPositionAnalysis>();
    int exactNone = 0, exactGnuGo = 0, exactOurs = 0, compared = 0;
    long stones = 0, agree = 0, oursOnly = 0, gnugoOnly = 0;
    const TDeadMask none{};
    for (const auto& game : games) {
        const TDeadMask ours = OurDead(*analysis, game);
        exactNone += ScoresExactly(game, none);
        exactOurs += ScoresExactly(game, ours);
        const auto reference = gnugo.find(game.Name);
        if (reference == gnugo.end())
            continue;
        ++compared;
        exactGnuGo += ScoresExactly(game, reference->second);
        for (std::size_t i = 0; i < ours.size(); ++i) {
            if (game.Position[i] == '-')
                continue;
            ++stones;
            agree += ours[i] == reference->second[i];
            oursOnly += ours[i] && !reference->second[i];
            gnugoOnly += !ours[i] && reference->second[i];
        }
    }
    const double n = games.empty() ? 1 : static_cast<double>(games.size());
    std::printf("counted games: %zu read from %s, %d with GNU Go's dead stones\n", games.size(),
                CountedGamesDir().string().c_str(), compared);
    std::printf("| estimator | final score exact | per-stone agreement with GNU Go |\n");
    std::printf("| no dead stones at all | %.1f %% | - |\n", 100.0 * exactNone / n);
    std::printf("| GNU Go final_status_list dead + our counting | %.1f %% | 100 %% |\n",
                compared ? 100.0 * exactGnuGo / compared : 0.0);
    std::printf("| our analysis + our counting | %.1f %% | %.2f %% |\n", 100.0 * exactOurs / n,
                stones ? 100.0 * static_cast<double>(agree) / static_cast<double>(stones) : 0.0);
    std::printf("stones: %ld; dead for us only: %ld; dead for GNU Go only: %ld\n\n", stones, oursOnly, gnugoOnly);
    std::fflush(stdout);
}

void BM_BoardReplay(benchmark::State& state)
{
    const auto& game = Game();
    for (auto _ : state) {
        TGoBoard board;
        for (const auto& [x, y] : game)
            board.PlayAt(x, y);
        benchmark::DoNotOptimize(board.BlackPrisoners());
    }
}
BENCHMARK(BM_BoardReplay)->Unit(benchmark::kMicrosecond);

// The position after 0, 60, 150 and all 250 moves of the same game.
void BM_AnalysePosition(benchmark::State& state)
{
    const std::string position = PositionAfter(Game(), static_cast<std::size_t>(state.range(0)));
    auto analysis = std::make_unique<TPositionAnalysis>();
    for (auto _ : state) {
        analysis->ResetAnalysis();
        benchmark::DoNotOptimize(analysis->AnalysePosition(position, 'B'));
    }
}
BENCHMARK(BM_AnalysePosition)->Arg(0)->Arg(60)->Arg(150)->Arg(250)->Unit(benchmark::kMicrosecond);

// One analysis per iteration, cycling through the final positions of the
// counted games.
void BM_AnalyseCountedGames(benchmark::State& state)
{
    const auto& games = CountedGames();
    if (games.empty()) {
        state.SkipWithError("no counted games");
        return;
    }
    auto analysis = std::make_unique<TPositionAnalysis>();
    std::size_t i = 0;
    for (auto _ : state) {
        const TCountedGame& game = games[i++ % games.size()];
        analysis->ResetAnalysis();
        benchmark::DoNotOptimize(analysis->AnalysePosition(game.Position, game.SideToMove));
    }
}
BENCHMARK(BM_AnalyseCountedGames)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    PrintCountedFigures();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
