#pragma once
#include <string>
#include <string_view>

namespace zel {

// The fields of a record's header line (CP949 texts).
struct TRecordHeader {
    std::string Black; // display texts of the players
    std::string White;
    int Handicap = 0;     // 0 even game, 1 no komi ("정선"), 2.. stones
    char KomiSide = 'A';  // 'A' black gives the komi, anything else white
    int Komi = 0;         // whole points; the komi has a half point more when > 0
    std::string DateLine; // the date, a blank and a further text
    std::string Title;
    std::string Result; // result text before its ">>"
};

// Longest display text kept in a header line, in bytes.
constexpr std::size_t kMaxHeaderName = 30;

// The title every record carries.
const std::string& RecordTitle();

// The header line without its CR LF: "OO" + "AA" and the six fields, each
// ended by "\#". Names are cut to kMaxHeaderName bytes without splitting a
// double-byte character; control characters are dropped and a "\#" inside a
// field is broken, so a field can never spill into the next one or the next
// line. The result is cut before its first ">>".
std::string RecordHeaderLine(const TRecordHeader& header);

// Reads Head's data; a missing separator leaves that field and the ones after
// it empty. Old files' terms ("호선", "정선", a leading digit) are understood.
TRecordHeader ParseRecordHeader(std::string data);

// Handicap letter, komi side letter and the komi in two letters.
std::string TermsText(int handicap, char komiSide, int komi);

// The result text up to, not including, its first ">>".
std::string ResultField(std::string_view result);

// Nickname, the id in parentheses, a blank and the rank text; the bare id
// when the user is unknown (empty nickname).
std::string PlayerDisplayText(std::string_view nickname, std::string_view id, std::string_view rank);

// The date as this program writes it: "2026-12-07".
std::string ShortDateText(int year, int month, int day);

// Record file name: the digits of the date text, the black and the white
// player's ids, the game key and ".zel". Empty when the result would not be
// a bare file name (ids and keys come from the network).
std::string RecordFileName(std::string_view dateText, std::string_view blackId, std::string_view whiteId,
                           std::string_view gameKey);

// A path as a file dialog gives it, reduced to its bare file name.
std::string BareRecordName(std::string_view path);

} // namespace zel
