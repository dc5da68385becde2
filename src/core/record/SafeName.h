#pragma once
#include <string_view>

namespace zel {

// Longest bare name a file store accepts, in bytes.
constexpr std::size_t kMaxBareNameLength = 200;

// True when `name` is a bare file name that stays inside its directory on
// every platform: not empty, at most kMaxBareNameLength bytes, no '/', '\\' or
// ':', no "..", no control characters, no leading or trailing blank or dot,
// and not a reserved device name (CON, NUL, COM1, ...). Names are CP949 bytes.
bool IsBareName(std::string_view name);

} // namespace zel
