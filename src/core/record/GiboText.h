#pragma once
#include <string>
#include <string_view>

namespace zel {

// Ends every field of record lines and header data.
inline constexpr std::string_view kFieldSep = "\\#";
// Separates the lines of a commentary's comment text.
inline constexpr std::string_view kLineSep = "\\!";

// Field := the part of source before the first "\#", source := the part after
// it. Without a "\#" field becomes empty and source stays.
void CutField(std::string& source, std::string& field);
// Head := the first n characters of source (all of it when shorter), source
// := the rest.
void CutHead(std::size_t n, std::string& source, std::string& head);

// Replaces every occurrence of `from` in `text` by `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

} // namespace zel
