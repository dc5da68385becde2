#pragma once
#include <QString>
#include <string>

namespace zel {

// CP949 bytes to and from QString for the terminal widgets.
QString FromCp949(const std::string& cp949);
std::string ToCp949(const QString& text);
// The fixed-pitch Korean font of the terminals: "굴림체" where installed,
// else a Korean coding font.
QString TermFontFamily();

} // namespace zel
