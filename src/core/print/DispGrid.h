#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace zel {

// One entry of a printed grid: a stone colour (or none), a label character
// and a move number.
struct TGridEntry {
    enum : std::int32_t { kBlack = 0, kWhite = 1, kEmpty = 2 };
    static constexpr std::int32_t kColourMask = 0x3;
    static constexpr int kLabelShift = 24;

    std::int32_t Value = kEmpty; // bits 0-1 colour, bits 24-31 label character (0 none)
    std::int16_t Number = -1;    // -1 none

    int Colour() const { return Value & kColourMask; }
    bool HasStone() const { return Colour() != kEmpty; }
    char Label() const { return static_cast<char>((Value >> kLabelShift) & 0xFF); }
    void SetColour(int colour) { Value = (Value & ~kColourMask) | (colour & kColourMask); }
    void SetLabel(char label)
    {
        Value = (Value & ~(0xFF << kLabelShift)) |
                (static_cast<std::int32_t>(static_cast<unsigned char>(label)) << kLabelShift);
    }
    bool operator==(const TGridEntry&) const = default;
};

// A grid of print entries: a board diagram uses the points (x, y) 1..19, a
// notes grid lines of up to kColumns entries. It starts with 19 empty rows
// and grows when notes need more lines.
class LDispGGrid {
public:
    static constexpr int kRows = 19;
    static constexpr int kColumns = 29;

    LDispGGrid() : rows_(kRows) {}

    int Rows() const { return static_cast<int>(rows_.size()); }
    // Row and column from 0; out of range answers an empty entry.
    TGridEntry Entry(int row, int column) const;
    TGridEntry& At(int row, int column); // grows the rows; column must be < kColumns
    // Board point (x, y), both 1..19.
    TGridEntry Point(int x, int y) const { return Entry(y - 1, x - 1); }
    TGridEntry& PointAt(int x, int y) { return At(y - 1, x - 1); }
    // Rows from the first that hold anything.
    int UsedRows() const;

private:
    std::vector<std::array<TGridEntry, kColumns>> rows_;
};

} // namespace zel
