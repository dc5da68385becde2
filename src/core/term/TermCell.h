#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace zel {

// One character cell of a terminal screen. A double-byte character takes two
// cells: the lead byte with the colours in the first, the trail byte in the next.
struct TTermCell {
    std::uint8_t ch = 0;       // 0: empty
    std::uint8_t runStart = 0; // 1 on the first cell of a flushed run
    std::uint8_t fg = 15;      // StandardPalette index
    std::uint8_t bg = 10;

    bool operator==(const TTermCell&) const = default;
};

constexpr int kTermColumns = 80;
using TTermLine = std::array<TTermCell, kTermColumns>;

inline TTermLine BlankLine(std::uint8_t fg, std::uint8_t bg)
{
    TTermLine line;
    for (auto& c : line)
        c = TTermCell{0, 0, fg, bg};
    return line;
}

// Replaces old default colours by new ones in every cell of `lines`.
inline void Recolour(std::span<TTermLine> lines, std::uint8_t oldFg, std::uint8_t oldBg, std::uint8_t newFg,
                     std::uint8_t newBg)
{
    for (auto& line : lines)
        for (auto& c : line) {
            if (c.fg == oldFg)
                c.fg = newFg;
            if (c.bg == oldBg)
                c.bg = newBg;
        }
}

} // namespace zel
