#include "core/engine/EyeValuation.h"

#include <algorithm>

namespace zel {

namespace {

constexpr int kOrthogonal[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
constexpr int kDiagonal[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};

int PointNumber(int row, int col)
{
    return (row - 1) * 19 + col;
}

bool Contains(const TEyeValuation::TRegion& region, int row, int col)
{
    return std::find(region.begin(), region.end(), std::pair{row, col}) != region.end();
}

// The points of region with exactly one neighbour inside it, in region order.
TEyeValuation::TRegion EndPoints(const TEyeValuation::TRegion& region)
{
    TEyeValuation::TRegion ends;
    for (const auto& [r, c] : region)
        if (RegionDegree(region, r, c) == 1)
            ends.push_back({r, c});
    return ends;
}

int CountDegree(const TEyeValuation::TRegion& region, int atLeast, std::pair<int, int>* last = nullptr)
{
    int n = 0;
    for (const auto& [r, c] : region)
        if (RegionDegree(region, r, c) >= atLeast) {
            ++n;
            if (last)
                *last = {r, c};
        }
    return n;
}

} // namespace

int RegionDegree(const TEyeValuation::TRegion& region, int row, int col)
{
    int n = 0;
    for (const auto& d : kOrthogonal)
        n += Contains(region, row + d[0], col + d[1]) ? 1 : 0;
    return n;
}

TEyeValuation::TEyeValuation(TCaptureReader& reader, const TAnalysisMap& position, const TAnalysisMap& eyeSpace,
                             char colour)
    : reader_(reader), board_(position), eyeSpace_(eyeSpace), colour_(colour), opponent_(OtherColour(colour))
{
}

bool TEyeValuation::OpponentPointIsWeak(int row, int col)
{
    const std::string text = PositionText(board_);
    return reader_.LibertiesAfter(text, PointNumber(row, col), 2, opponent_) <= 1 ||
           reader_.IsUnsafeMove(text, row, col, opponent_);
}

TEyeValue TEyeValuation::OnePoint(int row, int col)
{
    const bool edgeRow = row == 1 || row == 19, edgeCol = col == 1 || col == 19;
    const int t = edgeRow && edgeCol ? 1 : edgeRow || edgeCol ? 2 : 3;

    // Orthogonal neighbours first: the one empty point the opponent could
    // use stands for the owner's stone while the rest is looked at.
    int orthogonal = 0, orthogonalKey = 0;
    for (const auto& d : kOrthogonal) {
        const int r = row + d[0], c = col + d[1];
        if (!IsOnAnalysisBoard(r, c) || board_[r][c] == opponent_)
            continue;
        if (board_[r][c] == colour_ || OpponentPointIsWeak(r, c)) {
            orthogonal += 2;
        } else if (orthogonalKey == 0) {
            orthogonal += 2;
            orthogonalKey = PointNumber(r, c);
            board_[r][c] = colour_;
        }
    }

    int diagonal = 0, diagonalKey = 0;
    for (const auto& d : kDiagonal) {
        const int r = row + d[0], c = col + d[1];
        if (!IsOnAnalysisBoard(r, c))
            continue;
        if (board_[r][c] == colour_) {
            diagonal += 2;
        } else if (board_[r][c] == opponent_) {
            diagonal += eyeSpace_[r][c] == 'I' ? 2 : 0;
        } else if (OpponentPointIsWeak(r, c)) {
            diagonal += 2;
        } else {
            diagonal += 1;
            if (diagonalKey == 0)
                diagonalKey = PointNumber(r, c);
        }
    }

    TEyeValue value;
    if (diagonal >= 2 * t && orthogonal >= 2 * (t + 1))
        value = {2, 0};
    else if (diagonal == 2 * t - 1 && orthogonal >= 2 * (t + 1))
        value = {1, diagonalKey};
    if (orthogonalKey != 0) {
        value = value.Halves == 2 ? TEyeValue{1, orthogonalKey} : TEyeValue{};
        board_[(orthogonalKey - 1) / 19 + 1][(orthogonalKey - 1) % 19 + 1] = '-';
    }
    return value;
}

TEyeValue TEyeValuation::FirstValuation(const TRegion& region)
{
    const std::size_t size = region.size();
    if (size == 0)
        return {};
    if (size == 1)
        return OnePoint(region[0].first, region[0].second);
    if (size == 2) {
        const TEyeValue a = OnePoint(region[0].first, region[0].second);
        const TEyeValue b = OnePoint(region[1].first, region[1].second);
        if (a.Halves >= 1 && b.Halves >= 1)
            return {2, 0};
        if (a.Halves == 2)
            return {1, PointNumber(region[1].first, region[1].second)};
        if (b.Halves == 2)
            return {1, PointNumber(region[0].first, region[0].second)};
        if (a.Halves == 1)
            return a;
        if (b.Halves == 1)
            return b;
        return {};
    }
    if (size == 3) {
        const TRegion ends = EndPoints(region);
        if (ends.size() != 2)
            return {};
        const TEyeValue a = OnePoint(ends[0].first, ends[0].second);
        const TEyeValue b = OnePoint(ends[1].first, ends[1].second);
        if (a.Halves == 2 || b.Halves == 2 || (a.Halves >= 1 && b.Halves >= 1))
            return {2, 0};
        if (a.Halves == 1)
            return a;
        if (b.Halves == 1)
            return b;
        return {};
    }
    if (size == 4) {
        const TRegion ends = EndPoints(region);
        if (ends.size() != 2)
            return {2, 0};
        const TEyeValue a = OnePoint(ends[0].first, ends[0].second);
        const TEyeValue b = OnePoint(ends[1].first, ends[1].second);
        if (a.Halves > 0 || b.Halves > 0)
            return {2, 0};
        return {1, PointNumber(ends[0].first, ends[0].second)};
    }
    return {2, 0};
}

bool TEyeValuation::IsVital(const TRegion& region, int row, int col)
{
    const char saved = board_[row][col];
    board_[row][col] = colour_;
    TRegion taken{{row, col}};
    int whole = 0;
    for (const auto& d : kOrthogonal) {
        const int r = row + d[0], c = col + d[1];
        if (!Contains(region, r, c) || Contains(taken, r, c))
            continue;
        TRegion part{{r, c}};
        taken.push_back({r, c});
        for (std::size_t i = 0; i < part.size(); ++i)
            for (const auto& e : kOrthogonal) {
                const int y = part[i].first + e[0], x = part[i].second + e[1];
                if (Contains(region, y, x) && !Contains(taken, y, x)) {
                    part.push_back({y, x});
                    taken.push_back({y, x});
                }
            }
        whole += FirstValuation(part).Halves == 2 ? 1 : 0;
    }
    board_[row][col] = saved;
    return whole >= 2;
}

TEyeValue TEyeValuation::VitalRule(const TRegion& region)
{
    int vital = 0, key = 0;
    for (const auto& [r, c] : region)
        if (RegionDegree(region, r, c) > 1 && IsVital(region, r, c)) {
            ++vital;
            key = PointNumber(r, c);
        }
    if (vital >= 2)
        return {2, 0};
    if (vital == 1)
        return {1, key};
    return {};
}

TEyeValue TEyeValuation::SecondValuation(const TRegion& region)
{
    const std::size_t size = region.size();
    std::pair<int, int> at{0, 0};
    if (size < 3)
        return {};
    if (size <= 4)
        return CountDegree(region, 2) > 2 ? TEyeValue{} : VitalRule(region);
    if (size == 5) {
        if (CountDegree(region, 3, &at) == 1)
            return {1, PointNumber(at.first, at.second)};
        return CountDegree(region, 2) < 2 ? TEyeValue{} : VitalRule(region);
    }
    if (size == 6) {
        if (CountDegree(region, 4, &at) == 1)
            return {1, PointNumber(at.first, at.second)};
        return EndPoints(region).size() == 2 ? VitalRule(region) : TEyeValue{2, 0};
    }
    if (CountDegree(region, 4, &at) == 1)
        return {1, PointNumber(at.first, at.second)};
    return {2, 0};
}

} // namespace zel
