#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/record/GoNode.h"

namespace zel {

// Move table for printing: the Number of the last node and the point of each
// move 1..500 (X, Y; 0, 0 for a pass or a move line without a valid point).
struct TMoveTable {
    std::int32_t Last = 0; // clamped to 0..500
    std::array<std::array<std::uint8_t, 2>, 501> Points{};
};

// A game record in memory: a circular doubly linked list of lines in move
// order, starting at Head (the header line), with commentary lines standing
// after the move they belong to. The list owns its nodes.
class TGiboList {
public:
    // More lines than this are refused by AddLine.
    static constexpr std::size_t kMaxNodes = 4000;

    TGiboList();
    ~TGiboList();
    TGiboList(const TGiboList&) = delete;
    TGiboList& operator=(const TGiboList&) = delete;

    // Adds one record line (kind letters, two-letter number, data). A header
    // line fills Head; a move or commentary is placed in move order (see the
    // .cpp). A line whose number cannot be written back as it came is left
    // out. False for a line shorter than four characters or a full list.
    bool AddLine(std::string_view line);

    // Walks to the next (previous) move node over commentary nodes; true with
    // StepX, StepY set when one is reached.
    bool NextMove();
    bool PrevMove();
    // One node forward (back), whatever its kind: StepKind 1 with StepX,
    // StepY for a move, 2 with StepText for a commentary. StepBack onto a
    // move that a commentary follows answers false: the board already stands
    // at that move.
    bool StepForward();
    bool StepBack();
    // True with StepX, StepY when move n is in the list; Current stays.
    bool SeekMove(int n);
    // Unlinks and frees Current unless it is Head; Current moves to the
    // preceding node, or to the following one when that is Head.
    void DeleteCurrent();

    // The whole record as the file holds it: one CR LF line per node starting
    // with Head. Empty for a list holding Head alone.
    std::string FileText() const;
    // Head's Data, "\!", the Number of the last node, then colour, X and Y
    // letters of every move node.
    std::string CompactText() const;
    // recordName + "\#" + Head's Data.
    std::string PrintTitle(std::string_view recordName) const;
    // The title used when there is no record list.
    static std::string EmptyPrintTitle();
    TMoveTable MoveTable() const;

    TGoNode* Head() const { return head_; }
    TGoNode* Current() const { return current_; }
    void SetCurrent(TGoNode* node) { current_ = node; }
    std::size_t NodeCount() const { return count_; }
    // Number of move nodes.
    int MoveNodeCount() const;

    std::uint8_t Forward = 1;  // 1 after a step forward, 0 after a step back
    std::int32_t StepKind = 0; // 1 landed on a move, 2 on a commentary
    std::string StepText;      // NumToCode2(Number) + Data of the commentary
    std::int32_t StepX = 0;
    std::int32_t StepY = 0;

private:
    void LinkAfter(TGoNode* at, TGoNode* node);
    void LandOn(TGoNode* node);

    TGoNode* head_;
    TGoNode* current_;
    std::size_t count_ = 0; // nodes besides Head
};

// Gives every line of a record file's text (CR LF or LF lines) of at least
// minLength characters to list.AddLine. False when the list ran full.
bool AddRecordText(std::string_view text, TGiboList& list, std::size_t minLength);

// X and Y of a move line's data (colour, X, Y, ...): 0, 0 for a pass, -1, -1
// when the data holds no point on the board.
void MovePoint(std::string_view data, int& x, int& y);

} // namespace zel
