#pragma once
#include <QString>

#include "core/settings/ZelStatus.h"

namespace zel {

// The program directory of a client whose executable lies in `exeDir`: an
// installed client (`<prefix>/bin`) reads its data from `<prefix>/share/zel`
// when that directory holds the code table and the fonts; a client run from
// its build directory (or on Windows) reads them next to the executable.
QString ProgramDir(const QString& exeDir);

// Where this installation keeps its files: the program directory as above;
// records ("Gibo") and banners ("ADVH") live in the user's data directory, or
// in ZEL_SETTINGS_DIR when that is set (tests). Paths are CP949 and joined with '/'.
SettingsDefaults ClientSettingsDefaults();

} // namespace zel
