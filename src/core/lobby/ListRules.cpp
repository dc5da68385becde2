#include "core/lobby/ListRules.h"

#include <algorithm>

#include "core/base/Cp949.h"

namespace zel {

std::string RoomStateWord(int state)
{
    switch (state) {
    case RoomOpen:
    case 140:
        return KS("대기중");
    case RoomWaiting:
        return KS("대기실");
    case RoomReview:
        return KS("복기중");
    case RoomGame:
        return KS("대국중");
    case RoomMulti:
        return KS("다면기");
    default:
        return {};
    }
}

std::uint32_t RoomStateColor(int state)
{
    switch (state) {
    case RoomReview:
        return ListColors::Review;
    case RoomGame:
        return ListColors::Game;
    case RoomMulti:
        return ListColors::MultiGame;
    default:
        return ListColors::Text;
    }
}

std::uint32_t LevelColor(int level)
{
    if (level >= 30)
        return ListColors::MultiGame;
    if (level >= 22)
        return ListColors::Level22;
    if (level >= 18)
        return ListColors::Review;
    if (level >= 13)
        return ListColors::Level13;
    if (level >= 9)
        return ListColors::Game;
    return ListColors::Low;
}

std::string UserStateWord(const TCManager& m, int u)
{
    if (m.CheckUser(u) != 0 || m.CheckRoom(m.User(u).room) != 0)
        return {};
    const UserRecord& user = m.User(u);
    const RoomRecord& room = m.Room(user.room);
    switch (room.state) {
    case RoomOpen:
        return KS("대화");
    case RoomWaiting:
    case 140:
        return KS("대기");
    case RoomReview:
        return KS("복기");
    case RoomMulti:
        if (room.owner == u)
            return KS("지도");
        [[fallthrough]];
    default:
        return user.status > UserFreeLimit ? KS("대국") : KS("관전");
    }
}

std::string UserFlags(const UserRecord& user)
{
    std::string flags;
    flags += user.invitations == 20 ? '+' : '-';
    flags += user.profile == 30 ? '-' : '+';
    return flags;
}

std::string CutCellText(const std::string& text, int maxChars)
{
    if (maxChars < 0)
        maxChars = 0;
    if (text.size() <= static_cast<std::size_t>(maxChars))
        return text;
    return text.substr(0, Cp949PrefixLength(text, static_cast<std::size_t>(maxChars))) + ".  ";
}

std::vector<int> ListedRooms(const TCManager& m)
{
    std::vector<int> rooms;
    for (int r = 0; r < m.Count(); ++r)
        if (m.Room(r).people > 0)
            rooms.push_back(r);
    return rooms;
}

void SortRooms(const TCManager& m, std::vector<int>& rooms, int column, bool ascending)
{
    auto key = [&](int r, int part) {
        const RoomRecord& room = m.Room(r);
        switch (column) {
        case RoomColNumber:
            return part == 0 ? r : 0;
        case RoomColPeople:
            return part == 0 ? room.people : 0;
        default:
            return part == 0 ? room.state : room.level;
        }
    };
    std::stable_sort(rooms.begin(), rooms.end(), [&](int a, int b) {
        if ((a == 0) != (b == 0))
            return a == 0;
        for (int part = 0; part < 2; ++part) {
            int ka = key(a, part), kb = key(b, part);
            if (ka != kb)
                return ascending ? ka < kb : ka > kb;
        }
        return false;
    });
}

std::vector<int> ListedUsers(const TCManager& m, int room)
{
    std::vector<int> users;
    if (room >= 0) {
        if (m.CheckRoom(room) == 0)
            users = m.Members(room);
        return users;
    }
    for (int r = 0; r < m.Count(); ++r) {
        if (m.Room(r).people == 0)
            continue;
        for (int u : m.Members(r)) {
            const UserRecord& user = m.User(u);
            if (user.invitations == 20 && user.status < RoomGame)
                users.push_back(u);
        }
    }
    return users;
}

namespace {

int StateRank(const TCManager& m, int u)
{
    int room = m.User(u).room;
    if (m.CheckRoom(room) != 0)
        return 1;
    switch (m.Room(room).state) {
    case RoomReview:
        return 0;
    case RoomOpen:
        return 2;
    case RoomWaiting:
        return 3;
    default:
        return 1;
    }
}

} // namespace

void SortUsers(const TCManager& m, std::vector<int>& users, int column, bool ascending)
{
    std::stable_sort(users.begin(), users.end(), [&](int a, int b) {
        const UserRecord& ua = m.User(a);
        const UserRecord& ub = m.User(b);
        if (column == UserColName) {
            int c = ua.nickname.compare(ub.nickname);
            return ascending ? c < 0 : c > 0;
        }
        int ka = column == UserColLevel ? ua.level : StateRank(m, a);
        int kb = column == UserColLevel ? ub.level : StateRank(m, b);
        return ascending ? ka < kb : ka > kb;
    });
}

UserMenuState PrepareUserMenu(const TCManager& m, int u, bool gameWindowOpen, bool isFriend)
{
    UserMenuState s;
    if (m.CheckUser(u) != 0)
        return s;
    const UserRecord& user = m.User(u);
    int r = user.room;
    int c = m.currentRoom;
    int state = m.CheckRoom(r) == 0 ? m.Room(r).state : 0;
    bool accepts = user.invitations == 20;
    bool free = user.status <= UserFreeLimit;

    s.friendCaption = isFriend;
    s.enabled[3] = user.profile != 30;
    s.enabled[1] = accepts && free && c != 0 && r != c;
    s.enabled[5] = true;
    s.enabled[6] = true;
    s.enabled[8] = true;
    if (gameWindowOpen) {
        s.enabled[0] = false;
    } else if (state == RoomMulti && m.Room(r).owner == u) {
        s.enabled[0] = true;
    } else if (state == RoomMulti && user.status == UserPlaying) {
        s.watchCaption = true;
        s.enabled[0] = true;
    } else if (r != c) {
        s.enabled[0] = accepts && free;
    } else {
        s.enabled[0] = c != 0 ? state == RoomOpen : accepts;
    }
    return s;
}

GameAsk ChooseGameAsk(const TCManager& m, int u)
{
    int c = m.currentRoom;
    if (m.CheckRoom(c) == 0 && m.Room(c).state == RoomMulti && m.Room(c).owner != u)
        return GameAsk::WatchRequest;
    if (c != 0 && m.CheckUser(u) == 0 && m.User(u).room == c)
        return GameAsk::GameRequest;
    return GameAsk::GameInvite;
}

} // namespace zel
