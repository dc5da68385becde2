#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// One command line as an engine reads it: an optional numeric id, the
// command name and its arguments.
struct TGtpCommand {
    std::optional<long> Id;
    std::string Name;
    std::vector<std::string> Args;
};

// Largest command id; a larger number is no id (it reads as a command name).
constexpr long kGtpMaxId = 999999999;

// Longest command line an engine accepts; longer lines are refused whole.
constexpr std::size_t kGtpMaxLine = 4096;

enum class TGtpLineStatus {
    Command, // a command to answer
    Empty,   // nothing but blanks or a comment: no reply at all
    TooLong, // longer than kGtpMaxLine: answered with an error
};

// Reads one line without its LF: control characters other than HT and LF are
// dropped, HT reads as a blank, everything from "#" on is a comment.
TGtpLineStatus ReadGtpLine(std::string_view line, TGtpCommand& command);

// A reply as the engine writes it: "=id text" or "?id text", then a blank
// line. Line ends inside text are kept; text never ends the reply early,
// since an empty line inside it is given a blank.
std::string GtpReplyText(bool ok, const std::optional<long>& id, std::string_view text);

// A GTP vertex ("D4", "t19", case-insensitive, no "I" column) as a board
// point (x the column from the left, y the row from the top, both 1..19).
// "pass" gives 0, 0. False for anything else.
bool ReadGtpVertex(std::string_view text, int& x, int& y);
// The vertex of an on-board point, or "pass" for 0, 0.
std::string GtpVertexText(int x, int y);

// "b", "black", "w", "white" (any case) as 1 (black) or 2 (white); 0 else.
int ReadGtpColour(std::string_view text);

} // namespace zel
