#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace zel {

// How the board drawing shows a point mark.
enum class TMarkKind {
    None,       // 0, negatives and unused values
    Number,     // 1..99, the smaller number font
    LongNumber, // 100..500, the narrow three-digit font
    LastMove,   // 501, the triangle
    Letter,     // 600..625, "A".."Z"
    Hangul,     // 630..643, the fourteen basic consonants
    BlackPoint, // 650, black's territory square
    WhitePoint, // 651, white's territory square
};

constexpr int kMarkFirstHangul = 630;
constexpr int kMarkLastHangul = 643;
constexpr int kMarkFirstLabel = 600; // marks from here up are labels
constexpr int kPointCount = 361;

TMarkKind ClassifyMark(int mark);
// The text (CP949) drawn for a textual mark; empty for the others.
std::string MarkText(int mark);
inline bool IsLabelMark(int mark)
{
    return mark >= kMarkFirstLabel;
}

// Per-point values in row-major order, index (Y-1)*19 + (X-1).
using TPointColours = std::array<std::uint8_t, kPointCount>;
using TPointValues = std::array<std::int32_t, kPointCount>;

constexpr int PointIndex(int x, int y)
{
    return (y - 1) * 19 + (x - 1);
}

// Lists the labels of `marks` (row by row, column by column) as the wire
// text: NumToCode2(count), then per label its column and row letters and
// NumToCode2(mark). Labels outside what two letters can hold are still
// counted and listed, clamped to the largest code.
std::string LabelListText(const TPointValues& marks);

// The squares of the position-analysis overlay and the sure and maybe points
// of both sides. Values are black's (positive) or white's (negative) with a
// size class in their magnitude.
struct TAnalysisCounts {
    int BlackSure = 0;
    int BlackMaybe = 0;
    int WhiteMaybe = 0;
    int WhiteSure = 0;
};

struct TAnalysisSquare {
    int SizeClass = 0; // 0 = nothing drawn at that point
    bool BlackFill = false;
};

struct TAnalysisOverlay {
    std::array<TAnalysisSquare, kPointCount> Squares{};
    TAnalysisCounts Counts;
};

// A stone whose value says it is strongly the opponent's is shown as a sure
// point of the opponent (class 5).
TAnalysisOverlay BuildAnalysisOverlay(const TPointValues& values, const TPointColours& colours);

} // namespace zel
