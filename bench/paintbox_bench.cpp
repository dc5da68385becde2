// A move on the board costs a few cell blits; a full repaint is the reference.
// Run: build/bench/paintbox_bench (uses Qt's offscreen platform).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "client/engine/GoPaintBox.h"

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "paintbox_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

zel::TGoPaintBox& Box()
{
    App();
    static zel::TGoPaintBox* box = [] {
        auto* b = new zel::TGoPaintBox;
        b->LoadDefaultPictures();
        b->SetSzBoard(19 * 24);
        for (int i = 0; i < 120; ++i)
            b->DrawPoint(static_cast<std::uint8_t>(1 + i % 2), 1 + (i * 7) % 19, 1 + (i * 11) % 19, i + 1);
        return b;
    }();
    return *box;
}

// Reference: the whole board drawn again.
void BM_RedrawAll(benchmark::State& state)
{
    zel::TGoPaintBox& box = Box();
    for (auto _ : state)
        box.RedrawAll();
}
BENCHMARK(BM_RedrawAll);

// One move: a numbered stone placed, then taken off again.
void BM_MoveOnOnePoint(benchmark::State& state)
{
    zel::TGoPaintBox& box = Box();
    for (auto _ : state) {
        box.DrawPoint(zel::kBlack, 10, 10, 123);
        box.DrawPoint(zel::kEmpty, 10, 10, 0);
    }
}
BENCHMARK(BM_MoveOnOnePoint);

} // namespace

BENCHMARK_MAIN();
