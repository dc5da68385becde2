#pragma once
#include "core/term/BackDraw.h"
#include "core/term/ItemButtons.h"
#include "core/term/Pixmap.h"
#include "core/term/TermCell.h"

namespace zel {

// Paints terminal rows into a pixel buffer through TBackDraw, 8x16 per cell.
struct TTermColours {
    int fg = 15; // default foreground
    int bg = 10; // default background
    bool baseDraw = false;
};

// The DrawMode for a run: with a background picture, 1 for foreground 15 and
// 4 otherwise; else 1 for the default colours, 2 for them swapped, 3 for others.
int ChooseDrawMode(int fg, int bg, const TTermColours& colours);

// Repaints one row at pixel row `y`: its background in the default colour over
// `width` pixels, then every run of non-empty cells of one colour pair.
void RenderTermRow(TBackDraw& draw, TPixmap& target, const TTermLine& line, int columns, int y, int width,
                   const TTermColours& colours);

// Paints the cells of a button in the highlight colours, with a raised frame.
void RenderItemButton(TBackDraw& draw, TPixmap& target, const TTermLine& line, const TItemButton& button, int y, int fg,
                      int bg);

} // namespace zel
