#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ports/DeadStoneEstimator.h"

namespace zel {

class TGoBoard;

// The komi white receives under a game's terms: komiSideCode "A" (black gives
// komi) or "B" (white gives it), komi points plus the half point; none at 0.
double GtpKomi(std::string_view komiSideCode, int komi);

// The game on board (handicap, every move up to MoveCount, the position) as a query.
TDeadStoneQuery GameQuery(const TGoBoard& board, double komi);

// "play B D4" / "play W pass".
std::string GtpPlayCommand(const TPlayedMove& move);

// Commands that set an engine to query's game: clear_board, komi, the
// handicap stones (set_free_handicap) and every move.
std::vector<std::string> GtpSetupCommands(const TDeadStoneQuery& query);

// Reads a list of vertices separated by blanks or line ends (as
// final_status_list writes it); false when a word is no on-board vertex.
bool ReadGtpVertexList(std::string_view text, std::vector<std::pair<int, int>>& points);

// Reads the dragons of a `dragon_status` reply ("E19: alive" per line) whose
// status is "dead"; false when a line is malformed.
bool ReadGtpDeadDragons(std::string_view text, std::vector<std::pair<int, int>>& dragons);

} // namespace zel
