#include "core/engine/PositionAnalysis.h"

#include <algorithm>
#include <cstdlib>

#include "core/engine/EyeValuation.h"

namespace zel {

namespace {

using TFlags = std::array<std::array<bool, 21>, 21>;
using TPoints = std::vector<std::pair<int, int>>;

constexpr int kStep[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
constexpr int kKernelReach = 8;

bool IsStone(char c)
{
    return c == 'B' || c == 'W';
}

// v * num / den rounded to the nearest integer, halves to the even one.
int ScaleHalfEven(int v, int num, int den)
{
    const long long n = static_cast<long long>(v) * num;
    long long q = n / den, rem = n % den;
    if (rem < 0) {
        q -= 1;
        rem += den;
    }
    if (2 * rem > den || (2 * rem == den && (q & 1) != 0))
        q += 1;
    return static_cast<int>(q);
}

// Weight of the n-th line from an edge (1..19) as num / den.
std::pair<int, int> EdgeWeight(int line)
{
    switch (std::min(line, 20 - line)) {
    case 1:
        return {5, 2};
    case 2:
        return {9, 4};
    case 3:
        return {2, 1};
    case 4:
        return {3, 2};
    default:
        return {1, 1};
    }
}

bool InOpenArea(int row, int col)
{
    return row >= 3 && row <= 17 && col >= 3 && col <= 17;
}

} // namespace

void TPositionAnalysis::ResetAnalysis()
{
    for (auto& row : influence_)
        row.fill(0);
    for (auto& row : groupNumbers_)
        row.fill(0);
    for (auto& row : dead_)
        row.fill('x');
    t1_ = 450;
    t2_ = t1_ * 5 / 9;
    for (int dr = 0; dr <= kKernelReach; ++dr)
        for (int dc = 0; dc <= kKernelReach; ++dc)
            kernel_[dr][dc] = dr == 0 && dc == 0 ? 1024 : 1024 / (dr * dr + dc * dc);
    passes_ = 0;
}

bool TPositionAnalysis::AnalysePosition(std::string_view position, char sideToMove)
{
    // A fresh start even when the caller did not reset: marks left by an
    // earlier analysis must not leak into this one.
    ResetAnalysis();
    result_.fill(0);
    if (position.size() != 361 || (sideToMove != 'B' && sideToMove != 'W'))
        return false;
    side_ = sideToMove;
    tables_[0].Colour = sideToMove;
    tables_[1].Colour = OtherColour(sideToMove);
    input_ = PositionMap(position);

    ReadCaptures();
    BuildWorkingPosition();
    for (passes_ = 1; passes_ <= kMaxPasses; ++passes_) {
        for (auto& row : groupNumbers_)
            row.fill(0);
        for (auto& table : tables_) {
            table.Count = 0;
            table.Records.fill({});
        }
        BuildMaps();
        EvaluateGroups(0);
        EvaluateGroups(1);
        const bool first = DecideRaces(0);
        const bool second = DecideRaces(1);
        BuildWorkingPosition();
        if (!first && !second)
            break;
    }
    passes_ = std::min(passes_, kMaxPasses);
    SpreadInfluence();
    Classify();
    return true;
}

void TPositionAnalysis::ReadCaptures()
{
    const std::string text = PositionText(input_);
    TPoints stack;
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            const char colour = input_[r][c];
            if (!IsStone(colour) || dead_[r][c] != 'x')
                continue;
            const char mark = reader_.IsCapturable(text, r, c) ? 'D' : 'C';
            stack.assign(1, {r, c});
            dead_[r][c] = mark;
            while (!stack.empty()) {
                const auto [y, x] = stack.back();
                stack.pop_back();
                for (const auto& d : kStep) {
                    const int ny = y + d[0], nx = x + d[1];
                    if (input_[ny][nx] == colour && dead_[ny][nx] == 'x') {
                        dead_[ny][nx] = mark;
                        stack.push_back({ny, nx});
                    }
                }
            }
        }
}

void TPositionAnalysis::BuildWorkingPosition()
{
    working_ = input_;
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c)
            if (dead_[r][c] == 'D')
                working_[r][c] = '-';
}

void TPositionAnalysis::BuildMaps()
{
    shape_[0] = BuildShapeMap(working_, 'B');
    shape_[1] = BuildShapeMap(working_, 'W');
    eyes_[0] = BuildEyeSpaceMap(working_, shape_[0], shape_[1], 'B');
    eyes_[1] = BuildEyeSpaceMap(working_, shape_[1], shape_[0], 'W');
    region_[0] = BuildRegionMap(shape_[0], shape_[1], 'B');
    region_[1] = BuildRegionMap(shape_[1], shape_[0], 'W');
}

void TPositionAnalysis::EvaluateGroups(int table)
{
    const char colour = tables_[table].Colour;
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            if (working_[r][c] != colour || groupNumbers_[r][c] != 0)
                continue;
            // A full table leaves the remaining groups unevaluated: they
            // keep group number 0 and count as neither weak nor dead.
            if (tables_[table].Count >= kMaxGroups)
                return;
            EvaluateGroup(table, r, c);
        }
}

void TPositionAnalysis::EvaluateGroup(int table, int row, int col)
{
    TGroupTable& t = tables_[table];
    const int number = ++t.Count;
    TGroupRecord& rec = t.Records[static_cast<std::size_t>(number - 1)];
    rec.FirstRow = row;
    rec.FirstCol = col;
    const char colour = t.Colour;
    const TAnalysisMap& eyes = eyes_[MapIndex(table)];
    const TAnalysisMap& shape = shape_[MapIndex(table)];

    TFlags visited{}, liberty{};
    TPoints stack{{row, col}}, eyePoints;
    visited[row][col] = true;
    int eyeCount = 0;
    while (!stack.empty()) {
        const auto [r, c] = stack.back();
        stack.pop_back();
        if (working_[r][c] == colour) {
            groupNumbers_[r][c] = number;
            ++rec.Stones;
            for (const auto& d : kStep) {
                const int y = r + d[0], x = c + d[1];
                if (working_[y][x] == '-' && !liberty[y][x]) {
                    liberty[y][x] = true;
                    ++rec.Liberties;
                }
            }
        } else if (eyes[r][c] == 'I') {
            // A link of the weakest kinds next to the point leaves it open.
            bool open = false;
            for (const auto& d : kStep) {
                const int y = r + d[0], x = c + d[1];
                if (IsOnAnalysisBoard(y, x) && working_[y][x] != colour && eyes[y][x] != 'I')
                    open = open || shape[y][x] == 'f' || shape[y][x] == 'g';
            }
            if (!open) {
                ++eyeCount;
                if (static_cast<int>(eyePoints.size()) < kMaxEyePoints)
                    eyePoints.push_back({r, c});
            }
        }
        for (const auto& d : kStep) {
            const int y = r + d[0], x = c + d[1];
            if (!IsOnAnalysisBoard(y, x) || visited[y][x])
                continue;
            if (working_[y][x] == colour || eyes[y][x] == 'I' || eyes[y][x] == 'O') {
                visited[y][x] = true;
                stack.push_back({y, x});
            }
        }
    }

    rec.EyePoints = eyeCount;
    rec.Isolated = IsIsolated(table, row, col, number);
    if (eyeCount < 2) {
        rec.Weak = rec.Isolated;
    } else if (eyeCount > kMaxEyePoints) {
        rec.EyeHalves = 4;
    } else {
        rec.EyeHalves = CountEyes(table, eyePoints);
        rec.Weak = rec.EyeHalves < 4 && rec.Isolated;
    }
}

bool TPositionAnalysis::IsIsolated(int table, int row, int col, int number)
{
    const char colour = tables_[table].Colour;
    const TAnalysisMap& region = region_[MapIndex(table)];
    TFlags visited{};
    TPoints stack{{row, col}};
    visited[row][col] = true;
    int count = 0;
    while (!stack.empty()) {
        const auto [r, c] = stack.back();
        stack.pop_back();
        if (++count > kIsolationLimit)
            return false;
        if (working_[r][c] == colour && groupNumbers_[r][c] != number)
            return false;
        for (const auto& d : kStep) {
            const int y = r + d[0], x = c + d[1];
            if (IsOnAnalysisBoard(y, x) && !visited[y][x] && region[y][x] != 'x') {
                visited[y][x] = true;
                stack.push_back({y, x});
            }
        }
    }
    return true;
}

int TPositionAnalysis::CountEyes(int table, const TPoints& eyePoints)
{
    const TAnalysisMap& eyes = eyes_[MapIndex(table)];
    TEyeValuation valuation(reader_, working_, eyes, tables_[table].Colour);
    TFlags used{};
    std::vector<std::pair<int, int>> keys; // key point, occurrences
    int halves = 0;
    auto add = [&](const TEyeValue& v) {
        if (v.Halves == 2) {
            halves += 2;
        } else if (v.Halves == 1) {
            auto it = std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return k.first == v.Key; });
            if (it == keys.end()) {
                keys.push_back({v.Key, 1});
                halves += 1;
            } else {
                ++it->second;
            }
        }
    };
    for (const auto& [er, ec] : eyePoints) {
        if (halves >= 4)
            break;
        if (used[er][ec])
            continue;
        TEyeValuation::TRegion region{{er, ec}};
        used[er][ec] = true;
        for (std::size_t i = 0; i < region.size(); ++i)
            for (const auto& d : kStep) {
                const int y = region[i].first + d[0], x = region[i].second + d[1];
                if (IsOnAnalysisBoard(y, x) && !used[y][x] && eyes[y][x] == 'I') {
                    used[y][x] = true;
                    region.push_back({y, x});
                }
            }
        add(valuation.FirstValuation(region));
        if (region.size() >= 3) {
            if (region.size() >= 7)
                halves = std::max(halves, 4);
            add(valuation.SecondValuation(region));
        }
    }
    // Two half eyes hinging on the same point make one eye.
    for (const auto& k : keys)
        if (k.second > 1)
            halves += 1;
    return halves;
}

void TPositionAnalysis::FloodGroup(int table, int number, TFlags& inGroup)
{
    const TGroupRecord& rec = tables_[table].Records[static_cast<std::size_t>(number - 1)];
    const char colour = tables_[table].Colour;
    const TAnalysisMap& eyes = eyes_[MapIndex(table)];
    TPoints stack{{rec.FirstRow, rec.FirstCol}};
    inGroup[rec.FirstRow][rec.FirstCol] = true;
    while (!stack.empty()) {
        const auto [r, c] = stack.back();
        stack.pop_back();
        for (const auto& d : kStep) {
            const int y = r + d[0], x = c + d[1];
            if (!IsOnAnalysisBoard(y, x) || inGroup[y][x])
                continue;
            if (working_[y][x] == colour || eyes[y][x] == 'I' || eyes[y][x] == 'O') {
                inGroup[y][x] = true;
                stack.push_back({y, x});
            }
        }
    }
}

bool TPositionAnalysis::HasWeakerNeighbour(int table, int number)
{
    const int enemyTable = 1 - table;
    const char enemy = tables_[enemyTable].Colour;
    const TGroupRecord& rec = tables_[table].Records[static_cast<std::size_t>(number - 1)];
    // In a race the side to move is a liberty ahead.
    const int own = rec.Liberties + (table == 0 ? 1 : 0);
    TFlags inGroup{};
    FloodGroup(table, number, inGroup);
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            if (!inGroup[r][c])
                continue;
            for (const auto& d : kStep) {
                const int y = r + d[0], x = c + d[1];
                if (working_[y][x] != enemy)
                    continue;
                // Stones left out of a full table have no record: not weak.
                const int other = groupNumbers_[y][x];
                if (other < 1 || other > tables_[enemyTable].Count)
                    continue;
                const TGroupRecord& e = tables_[enemyTable].Records[static_cast<std::size_t>(other - 1)];
                if (e.Weak && e.Liberties + (enemyTable == 0 ? 1 : 0) < own)
                    return true;
            }
        }
    return false;
}

bool TPositionAnalysis::CanEscape(int table, int number)
{
    const char colour = tables_[table].Colour;
    const char enemy = OtherColour(colour);
    TFlags inGroup{}, visited{}, blocked{};
    FloodGroup(table, number, inGroup);
    TPoints stones;
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            if (!inGroup[r][c])
                continue;
            visited[r][c] = blocked[r][c] = true;
            for (const auto& d : kStep)
                visited[r + d[0]][c + d[1]] = true;
            if (working_[r][c] == colour)
                stones.push_back({r, c});
        }

    // An escape point is open ground two steps from a stone: nothing of the
    // group and no stone around it. The empty points right next to the group
    // count as looked at, but do not block an escape point (the point
    // between the stone and it is always one of them).
    auto clear = [&](int row, int col, auto&& bad) {
        for (int y = row - 1; y <= row + 1; ++y)
            for (int x = col - 1; x <= col + 1; ++x)
                if (bad(y, x))
                    return false;
        return true;
    };
    TPoints escapes;
    for (const auto& [r, c] : stones)
        for (const auto& d : kStep) {
            const int y = r + 2 * d[0], x = c + 2 * d[1];
            if (!InOpenArea(y, x) || visited[y][x])
                continue;
            if (!clear(y, x, [&](int yy, int xx) { return IsStone(working_[yy][xx]) || blocked[yy][xx]; }))
                continue;
            escapes.push_back({y, x});
            visited[y][x] = blocked[y][x] = true;
        }
    for (const auto& [r, c] : escapes)
        for (const auto& d : kStep) {
            const int y = r + 2 * d[0], x = c + 2 * d[1];
            if (!InOpenArea(y, x) || visited[y][x])
                continue;
            if (clear(y, x, [&](int yy, int xx) {
                    return working_[yy][xx] == enemy || visited[yy][xx] ||
                           (working_[yy][xx] == colour && groupNumbers_[yy][xx] == number);
                }))
                return true;
        }
    return false;
}

void TPositionAnalysis::MarkDead(int table, int number)
{
    const char colour = tables_[table].Colour;
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c)
            if (working_[r][c] == colour && groupNumbers_[r][c] == number)
                dead_[r][c] = 'D';
}

bool TPositionAnalysis::DecideRaces(int table)
{
    bool marked = false;
    TGroupTable& t = tables_[table];
    for (int i = 0; i < t.Count; ++i) {
        TGroupRecord& rec = t.Records[static_cast<std::size_t>(i)];
        if (!rec.Weak || HasWeakerNeighbour(table, i + 1))
            continue;
        if (CanEscape(table, i + 1)) {
            rec.Weak = false;
        } else {
            MarkDead(table, i + 1);
            marked = true;
        }
    }
    return marked;
}

void TPositionAnalysis::SpreadInfluence()
{
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            if (!IsStone(working_[r][c]))
                continue;
            const int s = working_[r][c] == 'B' ? 1 : -1;
            for (int y = std::max(1, r - kKernelReach); y <= std::min(19, r + kKernelReach); ++y)
                for (int x = std::max(1, c - kKernelReach); x <= std::min(19, c + kKernelReach); ++x)
                    influence_[y][x] += s * kernel_[std::abs(y - r)][std::abs(x - c)];
        }
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            const auto [rn, rd] = EdgeWeight(r);
            const auto [cn, cd] = EdgeWeight(c);
            influence_[r][c] = ScaleHalfEven(ScaleHalfEven(influence_[r][c], rn, rd), cn, cd);
        }
}

void TPositionAnalysis::Classify()
{
    std::array<std::array<int, 21>, 21> work{};
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            const int f = influence_[r][c];
            int v = 0;
            if (working_[r][c] == 'B')
                v = 4;
            else if (working_[r][c] == 'W')
                v = -4;
            else if (f > t1_)
                v = 3;
            else if (f < -t1_)
                v = -3;
            else if (f > t2_)
                v = 2;
            else if (f < -t2_)
                v = -2;
            work[r][c] = v;
        }

    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            const int v = work[r][c];
            int out = v;
            if (std::abs(v) == 2 || std::abs(v) == 3) {
                const int s = v > 0 ? 1 : -1;
                int m1 = 5, m2 = 5;
                for (const auto& d : kStep) {
                    const int y = r + d[0], x = c + d[1];
                    if (!IsOnAnalysisBoard(y, x))
                        continue;
                    m1 = std::min(m1, s * work[y][x]);
                    const int y2 = r + 2 * d[0], x2 = c + 2 * d[1];
                    if (s * work[y][x] < 4 && IsOnAnalysisBoard(y2, x2))
                        m2 = std::min(m2, s * work[y2][x2]);
                }
                if (std::abs(v) == 3) {
                    if (m1 > 3 || (m1 > 2 && m2 > 2))
                        out = 3 * s;
                    else if (m1 > 2 || (m1 > 1 && m2 > 1))
                        out = 2 * s;
                    else if (m1 < 0)
                        out = 0;
                    else
                        out = s;
                } else {
                    out = m1 < 1 ? 0 : s;
                }
            }
            result_[static_cast<std::size_t>((r - 1) * 19 + (c - 1))] = out;
        }
}

} // namespace zel
