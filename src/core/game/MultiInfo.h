#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// The file a multi-game host's boards are kept in while the host is away:
// line 1 the number of boards in decimal, then one game-state line per board
// (its game key as the first field).
inline constexpr const char* kMultiInfoName = "multiinfo.tmp";

struct TMultiInfoBoard {
    std::string GameId; // three capital letters
    std::string State;  // the game-state line after the key's field
};

// Longest game-state line taken from the file; a full board's line is far
// shorter.
inline constexpr std::size_t kMaxMultiInfoLine = 8192;

// The file's text for the given game-state lines.
std::string WriteMultiInfo(const std::vector<std::string>& stateLines);

// Reads a file that may have been changed by anyone: the count must be a
// small decimal number (at most `maxBoards`); lines beyond the count, lines
// that are too long, and lines without a well-formed, unused game key are
// left out. False (and nothing) for a file that is not of this form at all.
bool ReadMultiInfo(std::string_view text, int maxBoards, std::vector<TMultiInfoBoard>& boards);

} // namespace zel
