#include "core/game/MultiInfo.h"

#include <algorithm>

namespace zel {
namespace {

constexpr std::string_view kSeparator = "\\#";

bool IsGameKey(std::string_view key)
{
    return key.size() == 3 && std::all_of(key.begin(), key.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// The next line without its end ("\n" or "\r\n"); false at the end of text.
bool NextLine(std::string_view text, std::size_t& at, std::string_view& line)
{
    if (at >= text.size())
        return false;
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos)
        end = text.size();
    line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    at = end + 1;
    return true;
}

} // namespace

std::string WriteMultiInfo(const std::vector<std::string>& stateLines)
{
    std::string text = std::to_string(stateLines.size()) + "\r\n";
    for (const std::string& line : stateLines)
        text += line + "\r\n";
    return text;
}

bool ReadMultiInfo(std::string_view text, int maxBoards, std::vector<TMultiInfoBoard>& boards)
{
    boards.clear();
    std::size_t at = 0;
    std::string_view first;
    if (!NextLine(text, at, first) || first.empty() || first.size() > 3 ||
        !std::all_of(first.begin(), first.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int count = std::stoi(std::string(first));
    if (count > maxBoards)
        return false;
    std::string_view line;
    for (int i = 0; i < count && NextLine(text, at, line); ++i) {
        if (line.size() > kMaxMultiInfoLine)
            continue;
        const std::size_t end = line.find(kSeparator);
        if (end == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, end);
        if (!IsGameKey(key) ||
            std::any_of(boards.begin(), boards.end(), [key](const TMultiInfoBoard& b) { return b.GameId == key; }))
            continue;
        boards.push_back({std::string(key), std::string(line.substr(end + kSeparator.size()))});
    }
    return true;
}

} // namespace zel
