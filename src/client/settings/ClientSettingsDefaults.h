#pragma once
#include "core/settings/ZelStatus.h"

namespace zel {

// Where this installation keeps its files: the program directory is the
// executable's directory; records ("Gibo") and banners ("ADVH") live in the
// user's data directory, or in ZEL_SETTINGS_DIR when that is set (tests).
// Paths are CP949 and joined with '/'.
SettingsDefaults ClientSettingsDefaults();

} // namespace zel
