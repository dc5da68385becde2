#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zel {

// Letter codes: a number n travels as the character chr(n + 65) ('A' = 0).
// The decoders never read past the text they are given: too short a text
// gives -1.

// Two letters, base 26: 0 gives "AA", 675 gives "ZZ".
std::string NumToCode2(int n);
// Inverse of NumToCode2 from the first two characters of `s`.
int Code2ToNum(std::string_view s);
// n + 65 as one character.
char NumToLetter(int n);
// The first character of `s` minus 65.
int LetterToNum(std::string_view s);
// Three letters, base 26.
std::string NumToCode3(int n);

// Name of a handicap as shown to the players (CP949): 0 even game, 1 black
// without komi, 2..9 the number of stones; anything else the largest name.
std::string HandicapName(int handicap);

// The other colour: 2 for black (1), 1 for anything else.
inline std::uint8_t Opponent(std::uint8_t colour)
{
    return colour == 1 ? 2 : 1;
}

} // namespace zel
