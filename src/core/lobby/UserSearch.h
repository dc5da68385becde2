#pragma once
#include <string>
#include <vector>

namespace zel {

class TCManager;
struct FriendsInfo;

// The search window's conditions ("findmode" numbering).
enum SearchMode : int { SearchById = 1, SearchByNickname = 2, SearchByLevel = 3, SearchByFriend = 4 };

struct SearchResult {
    std::vector<int> users;
    std::string notice; // the refusal or "no match" notice, empty when users were found
};

// Tests every user in a room. Levels are compared in the level numbering
// (professionals 30..38); level matches are sorted highest first.
SearchResult SearchUsers(const TCManager& m, int mode, const std::string& text, int lowLevel, int highLevel,
                         const FriendsInfo& friends);

} // namespace zel
