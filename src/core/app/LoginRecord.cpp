#include "core/app/LoginRecord.h"

#include <cstring>

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/settings/ZelStatus.h"

namespace zel {

std::string LoginRecord::NormaliseId(const std::string& id)
{
    if (id.size() < 4)
        return id + "AAAA";
    if (id.size() > kIdWidth)
        return id.substr(0, Cp949PrefixLength(id, kIdWidth));
    return id;
}

std::string LoginRecord::NormaliseNickname(const std::string& nickname)
{
    if (nickname.empty())
        return "A";
    if (nickname.size() > 8)
        return nickname.substr(0, Cp949PrefixLength(nickname, 8));
    return nickname;
}

std::uint8_t LoginRecord::InvitationsByte(const LoginInfo& login)
{
    return login.inviteOn ? 20 : 10;
}

std::uint8_t LoginRecord::ProfileByte(const LoginInfo& login)
{
    return login.profile ? 10 : 30;
}

std::uint8_t LoginRecord::LevelByte(const LoginInfo& login)
{
    if (login.level < 0)
        return 0;
    return login.level > 255 ? 255 : static_cast<std::uint8_t>(login.level);
}

void LoginRecord::Fill(std::uint8_t* out, std::uint16_t code, const LoginInfo& login, std::uint16_t user,
                       std::uint16_t room)
{
    std::memset(out, 0, kSize);
    PutU16(out, code);
    PutU16(out + 2, static_cast<std::uint16_t>(kSize));
    out[4] = InvitationsByte(login);
    out[5] = ProfileByte(login);
    out[6] = LevelByte(login);
    PutU16(out + 10, user);
    PutU16(out + 12, room);
    PutText(out + 20, kIdWidth, login.userId);
    PutText(out + 28, kNicknameWidth, login.nickname);
}

std::string OwnRankText(std::int32_t level)
{
    if (level < 0)
        level = 0;
    if (level < 18)
        return std::to_string(18 - level) + "K";
    if (level < 30)
        return std::to_string(level - 17) + "D";
    return std::to_string(level - 29) + "P";
}

} // namespace zel
