#include "client/base/QtColours.h"

#include <cstdint>

#include "core/settings/ZelStatus.h"

namespace zel {

QColor PaletteQColor(int index)
{
    if (index < 1 || index > 18)
        index = 10;
    std::uint32_t bgr = StandardPalette[static_cast<std::size_t>(index)];
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace zel
