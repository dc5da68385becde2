#include "core/engine/ScoreCount.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace zel {

namespace {

constexpr int kSide = 19;
constexpr int kPoints = kSide * kSide;

} // namespace

TScoreCount CountPosition(std::string_view position, const TDeadMask& dead, int blackCaptures, int whiteCaptures,
                          TCountingRules rules, double komi)
{
    std::array<char, kPoints> board{};
    double black = blackCaptures, white = whiteCaptures;
    for (int i = 0; i < kPoints; ++i) {
        const char c = i < static_cast<int>(position.size()) ? position[static_cast<std::size_t>(i)] : '-';
        board[static_cast<std::size_t>(i)] = (c == 'B' || c == 'W') ? c : '-';
        if (board[static_cast<std::size_t>(i)] != '-' && dead[static_cast<std::size_t>(i)]) {
            (board[static_cast<std::size_t>(i)] == 'B' ? white : black) += 1;
            board[static_cast<std::size_t>(i)] = '-';
        }
    }
    if (rules == TCountingRules::Area) {
        black = white = 0;
        for (char c : board) {
            black += c == 'B' ? 1 : 0;
            white += c == 'W' ? 1 : 0;
        }
    }

    std::array<bool, kPoints> seen{};
    std::vector<int> region;
    for (int start = 0; start < kPoints; ++start) {
        if (board[static_cast<std::size_t>(start)] != '-' || seen[static_cast<std::size_t>(start)])
            continue;
        region.assign(1, start);
        seen[static_cast<std::size_t>(start)] = true;
        bool touchesBlack = false, touchesWhite = false;
        for (std::size_t i = 0; i < region.size(); ++i) {
            const int p = region[i], row = p / kSide, col = p % kSide;
            const int next[4] = {row > 0 ? p - kSide : -1, row < kSide - 1 ? p + kSide : -1, col > 0 ? p - 1 : -1,
                                 col < kSide - 1 ? p + 1 : -1};
            for (int n : next) {
                if (n < 0)
                    continue;
                const char c = board[static_cast<std::size_t>(n)];
                touchesBlack = touchesBlack || c == 'B';
                touchesWhite = touchesWhite || c == 'W';
                if (c == '-' && !seen[static_cast<std::size_t>(n)]) {
                    seen[static_cast<std::size_t>(n)] = true;
                    region.push_back(n);
                }
            }
        }
        if (touchesBlack != touchesWhite)
            (touchesBlack ? black : white) += static_cast<double>(region.size());
    }
    return {black, white + komi};
}

std::string MarginText(double margin)
{
    if (margin == 0)
        return "0";
    char text[32];
    const double size = std::fabs(margin);
    if (size == std::floor(size))
        std::snprintf(text, sizeof text, "%c+%.0f", margin > 0 ? 'B' : 'W', size);
    else
        std::snprintf(text, sizeof text, "%c+%g", margin > 0 ? 'B' : 'W', size);
    return text;
}

} // namespace zel
