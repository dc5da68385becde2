#include "core/lobby/IdentityRules.h"

#include "core/base/Cp949.h"

namespace zel {
namespace {

bool IsAsciiLetterOrDigit(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

FilteredText FilterIdText(const std::string& typed)
{
    FilteredText out;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        auto c = static_cast<unsigned char>(typed[i]);
        if (IsAsciiLetterOrDigit(c)) {
            out.text.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c));
            continue;
        }
        if (c >= 128 && i + 1 < typed.size())
            ++i; // a double-byte character is refused whole
        if (c >= 32 && out.notice.empty())
            out.notice = KS("아이디는 영문자와 숫자만 가능합니다");
    }
    return out;
}

FilteredText FilterNicknameText(const std::string& typed)
{
    FilteredText out;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        auto c = static_cast<unsigned char>(typed[i]);
        if (c >= 128) {
            // Lead byte: kept with its trail byte; a lone lead byte at the end is dropped.
            if (i + 1 < typed.size()) {
                out.text.append(typed, i, 2);
                ++i;
            }
            continue;
        }
        if (IsAsciiLetterOrDigit(c)) {
            out.text.push_back(static_cast<char>(c));
            continue;
        }
        if (c >= 32 && c < 127 && out.notice.empty())
            out.notice = "'" + std::string(1, static_cast<char>(c)) + "'" + KS(" 는 대화명에 사용할 수 없습니다.");
    }
    return out;
}

std::string FinalNickname(const std::string& nickname, const std::string& id)
{
    const std::string& name = nickname.empty() ? id : nickname;
    return name.substr(0, Cp949PrefixLength(name, kNicknameMaxBytes));
}

bool IdLengthOk(const std::string& id)
{
    return id.size() >= kIdMinBytes && id.size() <= kIdMaxBytes;
}

} // namespace zel
