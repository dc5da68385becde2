#include "core/record/TextEncoding.h"

#include <algorithm>
#include <cctype>

#include "core/base/Cp949.h"

namespace zel {
namespace {

bool HasHighBytes(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool HasLongUtf8Sequence(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    out.erase(std::remove_if(out.begin(), out.end(), [](char c) { return c == '-' || c == '_' || c == ' '; }),
              out.end());
    return out;
}

} // namespace

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        std::uint32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= text.size())
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((t & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

bool IsValidCp949(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80)
            continue;
        if (c == 0x80 || c == 0xFF || i + 1 >= text.size())
            return false;
        const auto t = static_cast<unsigned char>(text[++i]);
        const bool trail = (t >= 0x41 && t <= 0x5A) || (t >= 0x61 && t <= 0x7A) || (t >= 0x81 && t <= 0xFE);
        if (!trail)
            return false;
    }
    return true;
}

TextEncoding DetectEncoding(std::string_view text, std::string_view declared)
{
    if (!HasHighBytes(text))
        return TextEncoding::Ascii;
    const bool utf8 = IsValidUtf8(text);
    const bool cp949 = IsValidCp949(text);
    const std::string name = Lower(declared);
    if (utf8 && name == "utf8")
        return TextEncoding::Utf8;
    if (cp949 && (name == "euckr" || name == "cp949" || name == "ksc56011987" || name == "uhc" || name == "windows949"))
        return TextEncoding::Cp949;
    if (utf8 && cp949)
        return HasLongUtf8Sequence(text) ? TextEncoding::Utf8 : TextEncoding::Cp949;
    if (utf8)
        return TextEncoding::Utf8;
    if (cp949)
        return TextEncoding::Cp949;
    return TextEncoding::Unknown;
}

std::string ToCp949(std::string_view text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Ascii:
    case TextEncoding::Cp949:
        return std::string(text);
    case TextEncoding::Utf8:
        return Utf8ToCp949(text);
    case TextEncoding::Unknown:
        break;
    }
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) >= 0x80)
            c = '?';
    return out;
}

} // namespace zel
