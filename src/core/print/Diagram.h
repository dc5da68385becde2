#pragma once
#include <string>

#include "core/print/DispGrid.h"
#include "core/record/GiboList.h"

namespace zel {

// Notes widths: one diagram on a page, and two or four.
constexpr int kNotesWide = 28;
constexpr int kNotesNarrow = 25;
// The label of a notes separator.
constexpr char kSeparatorLabel = '-';

// Diagram of moves first..last (cut at the table's last move) over the
// position before `first`, in `board`. A move on an occupied point goes to
// `notes` as "occupant - move": the occupant is labelled 'a', 'b', ... when
// it carries no number, and later moves on the same point join its group.
// Numbers are numberOffset + the move number. Notes lines hold whole groups
// of notesWidth entries at most (a longer group goes on over the next lines).
void BuildDiagram(int notesWidth, int first, LDispGGrid& board, LDispGGrid& notes, const TMoveTable& moves,
                  int handicap, int numberOffset, int last);

// What a label character prints as (CP949): 'a'..'n' the Hangul letters
// "가".."하", anything else the character itself.
std::string LabelText(char label);

} // namespace zel
