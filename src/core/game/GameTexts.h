#pragma once
#include <string>
#include <string_view>

#include "core/game/GameHeader.h"

namespace zel {

// Longest id or label kept from a request or a game state, in bytes.
constexpr std::size_t kMaxIdBytes = 30;

// The handicap name and the komi terms, e.g. "호선(흑 6집 반 공제)".
std::string MethodText(int handicap, std::string_view komiSideCode, int komi);
// The komi part alone: "(흑 6집 반 공제)" or "(공제 없음)".
std::string KomiText(std::string_view komiSideCode, int komi);

// What the addressee of a request reads about the time limit.
std::string TimeLimitText(const TGameHeader& header);

// Clock settings from the header's time codes.
struct TClockTerms {
    int MainSeconds = 5400;
    int PeriodSeconds = 60;
    int Periods = 3;
};
TClockTerms ClockTerms(const TGameHeader& header);

// The result of a counted game with a half-point komi (none when komi is 0),
// followed by the score part "흑(b):백(w)".
std::string CountResultText(int black, int white, int komi, std::string_view komiSideCode);
// "흑 불계승"/"백 불계승" and "흑 시간승"/"백 시간승" for the winner.
std::string ResignResultText(bool blackWins);
std::string TimeResultText(bool blackWins);

// The bytes of text up to the first "\#" from pos; pos moves past the
// separator. Without a separator the rest is taken and pos reaches the end.
std::string NextField(std::string_view text, std::size_t& pos);
// text cut to at most max bytes without splitting a double-byte character.
std::string CutBytes(std::string_view text, std::size_t max);

// The field separator of every game text.
inline constexpr std::string_view kSep = "\\#";

} // namespace zel
