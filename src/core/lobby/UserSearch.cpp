#include "core/lobby/UserSearch.h"

#include <algorithm>

#include "core/base/Cp949.h"
#include "core/lobby/FriendList.h"
#include "core/lobby/ListRules.h"
#include "core/net/CManager.h"

namespace zel {

SearchResult SearchUsers(const TCManager& m, int mode, const std::string& text, int lowLevel, int highLevel,
                         const FriendsInfo& friends)
{
    SearchResult r;
    if (mode == SearchById && text.empty()) {
        r.notice = KS("아이디가 입력되지 않았습니다.");
        return r;
    }
    if (mode == SearchByNickname && text.empty()) {
        r.notice = KS("대화명이 입력되지 않았습니다.");
        return r;
    }
    if (lowLevel > highLevel)
        std::swap(lowLevel, highLevel);
    for (int room = 0; room < m.Count(); ++room) {
        if (m.Room(room).people == 0)
            continue;
        for (int u : m.Members(room)) {
            const UserRecord& user = m.User(u);
            bool match = false;
            switch (mode) {
            case SearchById:
                match = user.id.compare(0, text.size(), text) == 0;
                break;
            case SearchByNickname:
                match = user.nickname.compare(0, text.size(), text) == 0;
                break;
            case SearchByLevel:
                match = user.level >= lowLevel && user.level <= highLevel;
                break;
            case SearchByFriend:
                match = FindFriend(friends, user.id) >= 0;
                break;
            default:
                break;
            }
            if (match)
                r.users.push_back(u);
        }
    }
    if (mode == SearchByLevel)
        SortUsers(m, r.users, UserColLevel, false);
    if (r.users.empty())
        r.notice = KS("접속자 중에서 일치되는 사람이 없습니다.");
    return r;
}

} // namespace zel
