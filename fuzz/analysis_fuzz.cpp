// Analyses positions taken from the input, either as raw position text (any
// bytes, any length) or as the stones left by a game played from the input,
// and checks what holds for every position: values in -4..4, live stones
// valued as their own colour's, dead stones not, and the same answer with
// the colours and the side to move exchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/engine/GoBoard.h"
#include "core/engine/PositionAnalysis.h"

namespace {

using namespace zel;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

std::string Swapped(std::string position)
{
    for (char& c : position)
        c = c == 'B' ? 'W' : c == 'W' ? 'B' : c;
    return position;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int mode = data[0] % 4;
    const char side = data[0] & 4 ? 'W' : 'B';
    std::string position;
    if (mode == 0) {
        // Raw text: only 361 characters are analysed, others are refused.
        position.assign(reinterpret_cast<const char*>(data + 1), size - 1);
        if (position.size() > 361 && data[0] & 8)
            position.resize(361);
    } else {
        TGoBoard board;
        for (std::size_t i = 1; i + 1 < size; i += 2) {
            if (data[i] == 0xFF)
                board.PlayPass();
            else
                board.PlayAt(data[i] % 19 + 1, data[i + 1] % 19 + 1);
        }
        for (int y = 1; y <= 19; ++y)
            for (int x = 1; x <= 19; ++x)
                position += board.Colour(x, y) == kBlack ? 'B' : board.Colour(x, y) == kWhite ? 'W' : '-';
    }

    auto a = std::make_unique<TPositionAnalysis>();
    a->ResetAnalysis();
    const bool analysed = a->AnalysePosition(position, side);
    Check(analysed == (position.size() == 361));
    for (int v : a->AnalysisResult())
        Check(v >= -4 && v <= 4 && (analysed || v == 0));
    if (!analysed)
        return 0;

    auto b = std::make_unique<TPositionAnalysis>();
    Check(b->AnalysePosition(Swapped(position), side == 'B' ? 'W' : 'B'));
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            const char stone = position[static_cast<std::size_t>((r - 1) * 19 + c - 1)];
            const int v = a->Value(r, c);
            Check(v == -b->Value(r, c) && a->IsDead(r, c) == b->IsDead(r, c));
            if (stone == 'B')
                Check(a->IsDead(r, c) ? v != 4 : v == 4);
            else if (stone == 'W')
                Check(a->IsDead(r, c) ? v != -4 : v == -4);
            else
                Check(v != 4 && v != -4 && !a->IsDead(r, c));
        }
    return 0;
}
