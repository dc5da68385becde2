#pragma once
#include <string>

namespace zel {

// A typed line split into command word and argument. `word` is empty for a
// line that is room chat: one not beginning with "/", or whose word holds a
// character other than letters and digits. Capitals in the word become small.
struct ChatCommand {
    std::string word;
    std::string argument; // the text after the first blank, or empty
};

ChatCommand ParseChatCommand(const std::string& line);

// A room number written in decimal digits only (at most 5 digits); false for
// anything else.
bool ParseRoomNumber(const std::string& text, int& room);

// "a/b" with two decimal numbers; false for anything else.
bool ParseTimePair(const std::string& text, int& a, int& b);

} // namespace zel
