// Board and reader throughput, in operations per second. BM_BoardCopy is the
// reference measured in the same run: a plain copy of the stone array, the
// unit of work the board repeats for every legality check.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "core/engine/CaptureReader.h"
#include "core/engine/GoBoard.h"

namespace {

using namespace zel;

void BM_BoardCopy(benchmark::State& state)
{
    TColourGrid a{}, b{};
    a[10][10] = kBlack;
    for (auto _ : state) {
        b = a;
        benchmark::DoNotOptimize(b);
        a[1][1] = b[1][1];
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BoardCopy);

// Random legal games of up to 200 moves, each move later taken back: one
// operation is one PlayAt, illegal attempts included, or one Undo.
void BM_PlayAndUndo(benchmark::State& state)
{
    std::mt19937 random(42);
    std::int64_t operations = 0;
    for (auto _ : state) {
        TGoBoard board;
        for (int m = 0; m < 200; ++m) {
            for (int attempt = 0; attempt < 20; ++attempt) {
                ++operations;
                if (board.PlayAt(static_cast<int>(random() % 19) + 1, static_cast<int>(random() % 19) + 1))
                    break;
            }
        }
        while (board.MoveCount() > 0) {
            board.Undo();
            ++operations;
        }
        benchmark::DoNotOptimize(board.BlackPrisoners());
    }
    state.SetItemsProcessed(operations);
}
BENCHMARK(BM_PlayAndUndo);

// A long ladder read to the edge, with and without a breaker.
std::string LadderPosition(bool breaker)
{
    std::string p(361, '-');
    auto put = [&](int row, int col, char c) { p[(row - 1) * 19 + (col - 1)] = c; };
    put(3, 16, 'B');
    put(3, 18, 'W');
    put(4, 15, 'B');
    put(4, 16, 'W');
    put(5, 17, 'B');
    if (breaker)
        put(15, 6, 'W');
    return p;
}

void BM_LadderRead(benchmark::State& state)
{
    const std::string position = LadderPosition(state.range(0) != 0);
    TCaptureReader reader;
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.IsCapturable(position, 4, 16));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LadderRead)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
