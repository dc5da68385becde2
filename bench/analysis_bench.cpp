// Cost of one position analysis (the game window's "형세 분석" click). The
// reference measured in the same run is BM_BoardReplay: replaying the same
// game of 250 moves on a fresh board. Compare the times per iteration.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/engine/GoBoard.h"
#include "core/engine/PositionAnalysis.h"

namespace {

using namespace zel;

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
    std::string p;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            p += board.Colour(x, y) == kBlack ? 'B' : board.Colour(x, y) == kWhite ? 'W' : '-';
    return p;
}

const std::vector<std::pair<int, int>>& Game()
{
    static const auto game = RandomGame(250, 7);
    return game;
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

} // namespace

BENCHMARK_MAIN();
