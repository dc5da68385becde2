#pragma once
#include <string>
#include <vector>

#include "core/term/TermCell.h"

namespace zel {

// A clickable item found in a terminal row: columns first..last (1-based,
// inclusive) and the text sent when it is clicked (CP949, at most 20 bytes).
struct TItemButton {
    std::string text;
    int first = 1;
    int last = 1;

    bool operator==(const TItemButton&) const = default;
};

constexpr std::size_t kMaxItemButtons = 30;
constexpr std::size_t kMaxItemText = 20;

// Finds the items of one row (menu numbers, "x." entries, option lists in
// parentheses, "go" commands and Enter prompts, ^x control hints); the first
// kind of item found in the row wins. `columns` limits the row.
std::vector<TItemButton> FindItemButtons(const TTermLine& line, int columns);

} // namespace zel
