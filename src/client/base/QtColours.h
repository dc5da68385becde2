#pragma once
#include <QColor>

namespace zel {

// Colour `index` (1..18) of the standard palette; others give the default
// background colour 10.
QColor PaletteQColor(int index);

} // namespace zel
