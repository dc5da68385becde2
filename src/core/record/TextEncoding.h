#pragma once
#include <string>
#include <string_view>

namespace zel {

enum class TextEncoding { Ascii, Utf8, Cp949, Unknown };

// True when every byte sequence in text is well-formed UTF-8 (no overlong
// forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);
// True when every byte of 0x80 and above opens a CP949 (EUC-KR extended)
// double-byte character with a valid trail byte.
bool IsValidCp949(std::string_view text);

// Decides over the whole text, never from its first bytes: text valid in only
// one of the two encodings is in that one. Text valid in both is UTF-8 when
// it holds a three- or four-byte sequence (Hangul and CJK in UTF-8 always
// do), else CP949 (its Hangul pairs can look like two-byte UTF-8 Latin).
// `declared` (an SGF CA value, case-insensitive) decides when the text is
// valid in the encoding it names.
TextEncoding DetectEncoding(std::string_view text, std::string_view declared = {});

// The text as CP949 bytes; Unknown text keeps its ASCII and turns every
// other byte into '?'.
std::string ToCp949(std::string_view text, TextEncoding encoding);

} // namespace zel
