#pragma once
#include <cstdint>
#include <string_view>

#include "core/term/Pixmap.h"

namespace zel {

// Draws one Hanja (two CP949 bytes) into a 16x16 cell at (x, y) in the given
// colour; the bitmap fonts have no Hanja glyphs. The client implements it with
// a system font.
class THanjaPainter {
public:
    virtual ~THanjaPainter() = default;
    virtual void DrawHanja(TPixmap& target, int x, int y, std::string_view cp949, std::uint32_t colour) = 0;
};

} // namespace zel
