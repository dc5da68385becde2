#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/net/CManager.h"

namespace zel {

// Colours of the lobby lists, 0x00BBGGRR.
namespace ListColors {
inline constexpr std::uint32_t MultiGame = 0xFF80FF;
inline constexpr std::uint32_t Level22 = 0x00AAFF; // levels 22..29
inline constexpr std::uint32_t Review = 0x00FFFF;  // and levels 18..21
inline constexpr std::uint32_t Level13 = 0xFFFF00; // levels 13..17
inline constexpr std::uint32_t Game = 0x00FF00;    // and levels 9..12
inline constexpr std::uint32_t Low = 0xD2FFD2;     // levels 0..8 and the user flags
inline constexpr std::uint32_t Text = 0xFFFFFF;
inline constexpr std::uint32_t NoInvite = 0xC0C0C0; // users who refuse invitations
} // namespace ListColors

// Room list columns and user list columns, in header order.
enum RoomColumn : int { RoomColNumber = 0, RoomColState, RoomColTitle, RoomColPeople, RoomColInfo };
enum UserColumn : int { UserColName = 0, UserColLevel, UserColState };

// CP949 words of a room's state ("대기중", "대국중", ...); empty for others.
std::string RoomStateWord(int state);
std::uint32_t RoomStateColor(int state);
std::uint32_t LevelColor(int level);
// The user list's state word for user u (from the state of u's room).
std::string UserStateWord(const TCManager& m, int u);
// "-" or "+" for invitations off/on, then for profile hidden/visible.
std::string UserFlags(const UserRecord& user);
// A cell text that does not fit `maxChars` zero-widths is cut and ends ".  ".
std::string CutCellText(const std::string& text, int maxChars);

// Room list: every room with at least one person, in number order.
std::vector<int> ListedRooms(const TCManager& m);
// Sorts rooms by a header column; the waiting room always stays first.
void SortRooms(const TCManager& m, std::vector<int>& rooms, int column, bool ascending);

// User list: the members of `room`, or for -1 every member of every room who
// accepts invitations and is free (status below 150).
std::vector<int> ListedUsers(const TCManager& m, int room);
void SortUsers(const TCManager& m, std::vector<int>& users, int column, bool ascending);

// The user pop-up menu for user u, prepared before it is shown.
struct UserMenuState {
    static constexpr int kItems = 9;
    std::array<bool, kItems> enabled{};
    bool watchCaption = false;  // item 0 reads "관전 하기" instead of "대국 신청"
    bool friendCaption = false; // item 6 reads "친구 해제" instead of "친구 등록"
};
UserMenuState PrepareUserMenu(const TCManager& m, int u, bool gameWindowOpen, bool isFriend);

// What "대국 신청" (menu or a clicked id) sends to user u.
enum class GameAsk { WatchRequest, GameRequest, GameInvite };
GameAsk ChooseGameAsk(const TCManager& m, int u);

} // namespace zel
