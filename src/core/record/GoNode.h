#pragma once
#include <cstdint>
#include <string>

namespace zel {

// One line of a game record: the header ("OO"), a move ("PM") or a
// commentary ("VH"), linked into the circular list of a TGiboList.
struct TGoNode {
    enum : std::uint8_t { kHeader = 0, kMove = 1, kCommentary = 2 };

    std::uint8_t Kind = kHeader;
    std::int32_t Number = 0; // move number; 0 for the header
    std::string Data;        // the line after its kind letters and number
    TGoNode* Prev = nullptr;
    TGoNode* Next = nullptr;
};

} // namespace zel
