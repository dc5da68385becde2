#pragma once
#include <string>
#include <string_view>

namespace zel {

// Text inside the core is CP949 bytes. These convert to and from UTF-8;
// characters that have no counterpart become '?'.
std::string Utf8ToCp949(std::string_view utf8);
std::string Cp949ToUtf8(std::string_view cp949);

// True when `text` is well-formed CP949 (every lead byte has a trail byte).
bool IsWellFormedCp949(std::string_view text);

// Length of the longest prefix of at most `maxBytes` bytes that does not end
// inside a double-byte character.
std::size_t Cp949PrefixLength(std::string_view text, std::size_t maxBytes);

} // namespace zel

// A Korean literal (UTF-8 in the source) as CP949 bytes, converted once.
#define KS(literal)                                                                                                    \
    ([]() -> const std::string& {                                                                                      \
        static const std::string converted = ::zel::Utf8ToCp949(literal);                                              \
        return converted;                                                                                              \
    }())
