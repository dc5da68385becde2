#include "core/record/SafeName.h"

#include <array>
#include <cctype>
#include <string>

namespace zel {
namespace {

bool IsReservedDeviceName(std::string_view name)
{
    std::string stem(name.substr(0, name.find('.')));
    for (char& c : stem)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (auto r : plain)
        if (stem == r)
            return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '0' && stem[3] <= '9';
}

} // namespace

bool IsBareName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxBareNameLength)
        return false;
    if (name.find("..") != std::string_view::npos)
        return false;
    const char first = name.front();
    const char last = name.back();
    if (first == ' ' || first == '.' || last == ' ' || last == '.')
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80) {
            // A double-byte character: its trail byte is never a separator.
            if (i + 1 >= name.size() || static_cast<unsigned char>(name[i + 1]) < 0x41)
                return false;
            ++i;
            continue;
        }
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':')
            return false;
        if (c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|')
            return false;
    }
    return !IsReservedDeviceName(name);
}

} // namespace zel
