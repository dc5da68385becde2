#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/print/DispGrid.h"
#include "core/print/PagePlan.h"
#include "core/record/GiboList.h"
#include "core/record/RecordHeader.h"

namespace zel {

// The printing methods of the print dialog ("method").
enum TPrintMethod : int {
    kPrintWhole = 1,             // "총보 상태로 인쇄"
    kPrintRange = 2,             // "부분 상태로 인쇄"
    kPrintCurrentCommentary = 3, // "현재 참고도 인쇄" (offered, not available)
    kPrintSplit = 4,             // "기보를" ... split into diagrams
    kPrintCommentaries = 5,      // "모든 참고도 인쇄"
};

// The page in printer pixels and the margins and board cell in pixels.
struct TPageSetup {
    int Width = 4961, Height = 7016; // A4 at 600 dpi
    int Resolution = 600;            // dots per inch
    int TopMargin = 500, LeftMargin = 400;
    int Cell = 185;
};

struct TPrintRequest {
    int Method = kPrintWhole;
    int From = 1, To = 0; // the range of kPrintRange
    int SplitNo = 50;     // moves per diagram of kPrintSplit
    int PerPage = 4;      // diagrams per page of kPrintSplit: 1, 2 or 4
};

struct TPrintCommentary {
    int Number = 0;   // the first move of the variation
    std::string Body; // the commentary line's data
};

// What a record gives the printing: its print title (record name, "\#",
// the header data), its move table and its commentaries in record order.
struct TPrintSource {
    std::string Title;
    TMoveTable Moves;
    std::vector<TPrintCommentary> Commentaries;

    static TPrintSource FromRecord(const TGiboList& record, std::string_view recordName);
    // The record file name and the header fields of the title.
    std::string RecordName() const;
    TRecordHeader Header() const;
};

// A commentary as it is printed; nullopt when the body is not well formed
// (variation length or a point that is neither a pass nor on the board).
struct TPrintVariation {
    int First = 0;
    std::vector<std::pair<int, int>> Moves;                   // the variation's moves First.., (0, 0) a pass
    std::vector<std::pair<std::pair<int, int>, char>> Labels; // letter marks as labels 'A'..'Z'
    std::string Comment;
};
std::optional<TPrintVariation> ParsePrintVariation(const TPrintCommentary& commentary);
// The diagram of a variation over the game's moves before it: its moves
// numbered from 1, its letter marks as labels.
void BuildVariationDiagram(const TMoveTable& game, int handicap, const TPrintVariation& variation, LDispGGrid& board,
                           LDispGGrid& notes);

// The printed lines of a comment text: "<< 해설 >>" between empty lines, the
// comment's lines wrapped after 32 bytes without leading blanks, an empty
// line before the author part "::". The editor's heading line is left out.
std::vector<std::string> CommentLines(std::string_view comment);

// The method line of the header block: the handicap name and the komi terms.
std::string PrintMethodText(const TRecordHeader& header);

// Reads the range fields as whole numbers; false (nothing to print) unless
// 1 <= from <= to and from <= lastMove. The end is cut at lastMove.
bool ReadPrintRange(std::string_view from, std::string_view to, int lastMove, int& first, int& last);

// The pages of one print job; `dateTime` is the current date and time for
// the page frame. No pages when there is nothing to print.
TPrintPlan PlanPrint(const TPageSetup& setup, const TPrintRequest& request, const TPrintSource& source,
                     const std::string& dateTime);

} // namespace zel
