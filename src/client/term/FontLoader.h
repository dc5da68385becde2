#pragma once
#include <QString>

#include "core/term/BackDraw.h"

namespace zel {

// Reads "Convert.tbl" and the four font files from the program directory
// `zelpath` into `draw`; false, with the name of the file and the
// directory in `error`, when one is missing or short.
bool LoadBitmapFonts(TBackDraw& draw, const QString& zelpath, QString* error = nullptr);

} // namespace zel
