#include "core/lobby/ChatCommand.h"

namespace zel {

ChatCommand ParseChatCommand(const std::string& line)
{
    ChatCommand out;
    if (line.size() < 2 || line[0] != '/')
        return out;
    std::size_t blank = line.find(' ', 1);
    std::string word = line.substr(1, blank == std::string::npos ? std::string::npos : blank - 1);
    for (char& c : word) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        else if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return out;
    }
    out.word = word;
    if (blank != std::string::npos)
        out.argument = line.substr(blank + 1);
    return out;
}

bool ParseRoomNumber(const std::string& text, int& room)
{
    if (text.empty() || text.size() > 5)
        return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    room = value;
    return true;
}

bool ParseTimePair(const std::string& text, int& a, int& b)
{
    std::size_t slash = text.find('/');
    if (slash == std::string::npos)
        return false;
    return ParseRoomNumber(text.substr(0, slash), a) && ParseRoomNumber(text.substr(slash + 1), b);
}

} // namespace zel
