#include "core/term/TermRender.h"

#include <algorithm>
#include <string>

namespace zel {
namespace {

// The cells first..last (0-based) of `line` as text; an empty cell inside is a blank.
std::string CellText(const TTermLine& line, int first, int last)
{
    std::string text;
    for (int c = first; c <= last; ++c) {
        const auto ch = line[static_cast<std::size_t>(c)].ch;
        text.push_back(static_cast<char>(ch ? ch : ' '));
    }
    return text;
}

} // namespace

int ChooseDrawMode(int fg, int bg, const TTermColours& colours)
{
    if (colours.baseDraw)
        return fg == 15 ? 1 : 4;
    if (fg == colours.fg && bg == colours.bg)
        return 1;
    if (fg == colours.bg && bg == colours.fg)
        return 2;
    return 3;
}

void RenderTermRow(TBackDraw& draw, TPixmap& target, const TTermLine& line, int columns, int y, int width,
                   const TTermColours& colours)
{
    columns = std::clamp(columns, 0, kTermColumns);
    target.FillRect(0, y, width, 16, draw.Colour(colours.bg));
    int c = 0;
    while (c < columns) {
        const TTermCell& head = line[static_cast<std::size_t>(c)];
        if (head.ch == 0) {
            ++c;
            continue;
        }
        std::string text;
        const int start = c;
        while (c < columns) {
            const TTermCell& cell = line[static_cast<std::size_t>(c)];
            if (cell.ch == 0 || cell.fg != head.fg || cell.bg != head.bg)
                break;
            text.push_back(static_cast<char>(cell.ch));
            ++c;
            if (cell.ch >= 0x80) {
                // The trail byte belongs to this character whatever its colours.
                text.push_back(c < columns ? static_cast<char>(line[static_cast<std::size_t>(c)].ch) : '\0');
                ++c;
            }
        }
        draw.DrawText(target, 8 * start, text, head.bg, head.fg, ChooseDrawMode(head.fg, head.bg, colours), y);
    }
}

void RenderItemButton(TBackDraw& draw, TPixmap& target, const TTermLine& line, const TItemButton& button, int y, int fg,
                      int bg)
{
    const int first = std::clamp(button.first, 1, kTermColumns) - 1;
    const int last = std::clamp(button.last, first + 1, kTermColumns) - 1;
    draw.DrawText(target, 8 * first, CellText(line, first, last), bg, fg, 3, y);
    const int x0 = 8 * first, x1 = 8 * (last + 1) - 1;
    for (int x = x0; x <= x1; ++x) {
        target.SetPixel(x, y, 0xFFFFFF);
        target.SetPixel(x, y + 15, 0x404040);
    }
    for (int yy = y; yy < y + 16; ++yy) {
        target.SetPixel(x0, yy, 0xFFFFFF);
        target.SetPixel(x1, yy, 0x404040);
    }
}

} // namespace zel
