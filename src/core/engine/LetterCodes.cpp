#include "core/engine/LetterCodes.h"

#include "core/base/Cp949.h"

namespace zel {

std::string NumToCode2(int n)
{
    return {static_cast<char>(n / 26 + 65), static_cast<char>(n % 26 + 65)};
}

int Code2ToNum(std::string_view s)
{
    if (s.size() < 2)
        return -1;
    return static_cast<unsigned char>(s[0]) * 26 + static_cast<unsigned char>(s[1]) - 1755;
}

char NumToLetter(int n)
{
    return static_cast<char>(n + 65);
}

int LetterToNum(std::string_view s)
{
    if (s.empty())
        return -1;
    return static_cast<unsigned char>(s[0]) - 65;
}

std::string NumToCode3(int n)
{
    return {static_cast<char>(n / 676 + 65), static_cast<char>(n % 676 / 26 + 65), static_cast<char>(n % 26 + 65)};
}

std::string HandicapName(int handicap)
{
    if (handicap == 0)
        return KS("호선");
    if (handicap == 1)
        return KS("정선");
    if (handicap >= 2 && handicap <= 9)
        return std::to_string(handicap) + KS("점 접바둑");
    return "13 " + KS("점 접바둑");
}

} // namespace zel
