#pragma once
#include <string>

#include "core/term/BackDraw.h"

namespace zel::test {

// The font files generated next to the client by the build, or nothing when
// this build has no client (the core-only sanitizer build).
bool LoadBuiltFonts(TFontFiles& files);

// A palette whose entries are all distinct, for reading pixels back as indices.
TBackDraw::Palette DistinctPalette();

} // namespace zel::test
