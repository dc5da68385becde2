#pragma once
#include <cstddef>
#include <string>

namespace zel {

// What the id and nickname fields accept while the user types. Texts are
// CP949 bytes.
struct FilteredText {
    std::string text;   // the input with refused characters dropped
    std::string notice; // the notice for the first refused character, or empty
};

inline constexpr std::size_t kIdMinBytes = 4;
inline constexpr std::size_t kIdMaxBytes = 8;
inline constexpr std::size_t kNicknameMaxBytes = 10;

// Ids hold letters and digits only; capitals become small letters. Any other
// character is dropped with the notice "아이디는 영문자와 숫자만 가능합니다".
FilteredText FilterIdText(const std::string& typed);

// Nicknames hold letters, digits and double-byte characters. Any other
// printable ASCII character c is dropped with the notice
// "'c' 는 대화명에 사용할 수 없습니다."; control characters and broken
// double-byte characters are dropped silently.
FilteredText FilterNicknameText(const std::string& typed);

// The nickname as it is stored: the id when empty, else at most 10 bytes
// without splitting a double-byte character.
std::string FinalNickname(const std::string& nickname, const std::string& id);

// True when the id is 4 to 8 bytes long.
bool IdLengthOk(const std::string& id);

} // namespace zel
