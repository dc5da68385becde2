#include "core/base/Cp949.h"

#include <cerrno>
#include <iconv.h>

namespace zel {
namespace {

std::string Convert(const char* to, const char* from, std::string_view input)
{
    std::string out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(input);
    out.reserve(input.size() * 2 + 4);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[512];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // Unconvertible or truncated input: one '?' for the bad byte.
            out.push_back('?');
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string Utf8ToCp949(std::string_view utf8)
{
    return Convert("CP949", "UTF-8", utf8);
}

std::string Cp949ToUtf8(std::string_view cp949)
{
    return Convert("UTF-8", "CP949", cp949);
}

bool IsWellFormedCp949(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 128) {
            if (i + 1 >= text.size())
                return false;
            ++i;
        }
    }
    return true;
}

std::size_t Cp949PrefixLength(std::string_view text, std::size_t maxBytes)
{
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t step = static_cast<unsigned char>(text[i]) >= 128 ? 2 : 1;
        if (i + step > maxBytes || i + step > text.size())
            break;
        i += step;
    }
    return i;
}

} // namespace zel
