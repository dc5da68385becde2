#pragma once
#include <string>
#include <string_view>

namespace zel {

class TGiboList;

struct TSgfExportStats {
    int Moves = 0;
    int Commentaries = 0;
    int SkippedCommentaries = 0; // bodies whose counts do not match their fields
};

// A record as an SGF game (FF[4], CA[UTF-8]): players and ranks from the
// display texts, handicap stones, komi, result, date and title in the root,
// the moves as the main line, and each commentary as a variation from the
// position before its first move, with its comment and marks on the
// variation's last node. Marks: letters as LB, the two territory points as
// TB/TW.
std::string RecordToSgf(const TGiboList& list, TSgfExportStats* stats = nullptr);

enum class SgfImportStatus {
    Ok,
    Syntax,           // not an SGF game tree
    TooLarge,         // beyond the limits of a record
    NotNineteen,      // another board size
    UnsupportedSetup, // setup stones other than this program's handicap placement
    BadMove,          // a main-line move off the board
    TooManyMoves,     // more than 500 moves
};

// The record file text (CP949, CR LF lines) of the first game in `sgf`. Text
// values are read as UTF-8 or CP949/EUC-KR, detected over the whole file. A
// move out of turn is preceded by a pass of the other colour, since records
// alternate colours. Every variation path becomes a commentary whose comment
// and marks come from its last node; comments and marks on main-line nodes
// become commentaries without moves.
SgfImportStatus SgfToRecordText(std::string_view sgf, std::string& recordText);

const char* SgfImportStatusText(SgfImportStatus status);

} // namespace zel
