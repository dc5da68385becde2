#pragma once
#include <vector>

#include "core/engine/AnalysisMaps.h"
#include "core/engine/CaptureReader.h"

namespace zel {

// What an eye region is worth to its owner, in half eyes (0, 1 or 2); a
// half eye hinges on its key point ((row - 1) * 19 + column).
struct TEyeValue {
    int Halves = 0;
    int Key = 0;
};

// Values the eye regions of one colour: single points by the shape of their
// orthogonal and diagonal neighbours (the capture reader judging the
// opponent's stones there), larger regions by size, end points and vital
// points. Works on its own copy of the position.
class TEyeValuation {
public:
    using TRegion = std::vector<std::pair<int, int>>;

    TEyeValuation(TCaptureReader& reader, const TAnalysisMap& position, const TAnalysisMap& eyeSpace, char colour);

    // Valuation by size (and, from three points, the ends).
    TEyeValue FirstValuation(const TRegion& region);
    // Valuation by vital points, for regions of three points or more.
    TEyeValue SecondValuation(const TRegion& region);
    // Value of the single eye point (row, col).
    TEyeValue OnePoint(int row, int col);

private:
    bool IsVital(const TRegion& region, int row, int col);
    TEyeValue VitalRule(const TRegion& region);
    bool OpponentPointIsWeak(int row, int col);

    TCaptureReader& reader_;
    TAnalysisMap board_;
    const TAnalysisMap& eyeSpace_;
    char colour_;
    char opponent_;
};

// Number of orthogonal neighbours of (row, col) inside region.
int RegionDegree(const TEyeValuation::TRegion& region, int row, int col);

} // namespace zel
