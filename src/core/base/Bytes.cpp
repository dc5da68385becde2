#include "core/base/Bytes.h"

#include "core/base/Cp949.h"

#include <cstring>

namespace zel {

std::string GetText(const std::uint8_t* p, std::size_t width)
{
    std::size_t n = 0;
    while (n < width && p[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

void PutText(std::uint8_t* p, std::size_t width, std::string_view text)
{
    std::size_t n = Cp949PrefixLength(text, width);
    std::memcpy(p, text.data(), n);
    std::memset(p + n, 0, width - n);
}

} // namespace zel
