#pragma once
#include <QFont>

namespace zel {

// The font of dialogs and forms: "NanumGothic" when installed (Korean text
// needs it), else the application font.
QFont UiFont(int pointSize = 10);

} // namespace zel
