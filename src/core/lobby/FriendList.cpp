#include "core/lobby/FriendList.h"

#include <algorithm>

namespace zel {

int FindFriend(const FriendsInfo& friends, const std::string& id)
{
    int count = std::clamp(friends.count, 0, FriendsInfo::kMax);
    for (int i = 0; i < count; ++i)
        if (friends.friends[static_cast<std::size_t>(i)].id == id)
            return i;
    return -1;
}

bool AddFriend(FriendsInfo& friends, const std::string& id, const std::string& nickname, const std::string& rankText)
{
    if (id.empty() || friends.count < 0 || friends.count >= FriendsInfo::kMax || FindFriend(friends, id) >= 0)
        return false;
    friends.friends[static_cast<std::size_t>(friends.count)] = FriendEntry{id, nickname, rankText, 0, 0};
    ++friends.count;
    return true;
}

bool RemoveFriend(FriendsInfo& friends, const std::string& id)
{
    int at = FindFriend(friends, id);
    if (at < 0)
        return false;
    int count = std::clamp(friends.count, 0, FriendsInfo::kMax);
    for (int i = at; i + 1 < count; ++i)
        friends.friends[static_cast<std::size_t>(i)] = friends.friends[static_cast<std::size_t>(i + 1)];
    friends.friends[static_cast<std::size_t>(count - 1)] = FriendEntry{};
    friends.count = count - 1;
    return true;
}

} // namespace zel
