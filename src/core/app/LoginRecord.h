#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace zel {

struct LoginInfo;

// The 38-byte record of the login (20010), the re-login (20020) and the
// connection check (20060).
struct LoginRecord {
    static constexpr std::size_t kSize = 38;
    static constexpr std::size_t kIdWidth = 8;
    static constexpr std::size_t kNicknameWidth = 10;

    // An id shorter than 4 bytes gets "AAAA" appended; a longer one than 8
    // bytes is cut to 8.
    static std::string NormaliseId(const std::string& id);
    // An empty nickname becomes "A"; a longer one than 8 bytes is cut to 8,
    // never inside a double-byte character.
    static std::string NormaliseNickname(const std::string& nickname);

    // Writes the whole record into `out` (kSize bytes): header with `code`
    // and length 38, the profile bytes of `login`, the given user and room
    // numbers, id and nickname as they are in `login`. Unset fields are zero.
    static void Fill(std::uint8_t* out, std::uint16_t code, const LoginInfo& login, std::uint16_t user,
                     std::uint16_t room);

    static std::uint8_t InvitationsByte(const LoginInfo& login);
    static std::uint8_t ProfileByte(const LoginInfo& login);
    static std::uint8_t LevelByte(const LoginInfo& login);
};

// "18K".."1K", "1D".., "1P".. for a level (0..17 kyu, 18..29 dan, 30 up pro).
std::string OwnRankText(std::int32_t level);

} // namespace zel
