#pragma once
#include <QString>

namespace zel {

// The fixed-pitch Korean font of the terminals: "굴림체" where installed,
// else a Korean coding font.
QString TermFontFamily();

} // namespace zel
