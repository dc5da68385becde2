#pragma once
#include <string>

#include "core/settings/ZelStatus.h"

namespace zel {

// Edits of the stored friend list. Entries are friends[0..count-1].
int FindFriend(const FriendsInfo& friends, const std::string& id);
// Appends a friend with both counters 0; false when the list is full or the
// id is already there.
bool AddFriend(FriendsInfo& friends, const std::string& id, const std::string& nickname, const std::string& rankText);
// Deletes the entry and moves the later ones up; false when absent.
bool RemoveFriend(FriendsInfo& friends, const std::string& id);

} // namespace zel
