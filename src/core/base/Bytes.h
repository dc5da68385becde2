#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zel {

// Little-endian fields of the wire records. Callers check the record length
// before they read a field; these helpers never look outside [p, p + width).
inline std::uint16_t GetU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t GetU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t GetI32(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(GetU32(p));
}
inline void PutU16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutU32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A zero-padded text field: the bytes up to the first zero, at most `width`.
std::string GetText(const std::uint8_t* p, std::size_t width);
// Writes `text` into a field of `width` bytes, cut to `width` bytes without
// splitting a double-byte character, and zero-fills the rest.
void PutText(std::uint8_t* p, std::size_t width, std::string_view text);

} // namespace zel
