#include "core/engine/AnalysisMaps.h"

#include <algorithm>
#include <vector>

namespace zel {

namespace {

constexpr int kMaxEyeRegion = 100;
constexpr int kStep[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

bool InGrid(int row, int col)
{
    return row >= 0 && row <= 20 && col >= 0 && col <= 20;
}

bool IsStone(char c)
{
    return c == 'B' || c == 'W';
}

// Lowers the connection letter of an empty board point; stones and the
// border keep what they hold.
void Lower(TAnalysisMap& map, int row, int col, char letter)
{
    if (!IsOnAnalysisBoard(row, col))
        return;
    char& cell = map[row][col];
    if ((cell == 'z' || IsConnection(cell)) && letter < cell)
        cell = letter;
}

// The links of one stone (or border cell) at (r, c) of colour to the partners
// below it and to its right.
void LinkPartners(TAnalysisMap& map, const TAnalysisMap& original, int r, int c, char colour)
{
    const char other = OtherColour(colour);
    auto own = [&](int row, int col) { return InGrid(row, col) && original[row][col] == colour; };

    for (int side : {-1, 1}) {
        const int pr = r + 1, pc = c + side;
        if (IsOnAnalysisBoard(r, c) && IsOnAnalysisBoard(pr, pc) && own(pr, pc) && !own(r, pc) && !own(pr, c)) {
            Lower(map, r, pc, 'a');
            Lower(map, pr, c, 'a');
        }
    }

    for (auto [dr, dc] : {std::pair{0, 2}, std::pair{2, 0}}) {
        const int pr = r + dr, pc = c + dc;
        if (own(pr, pc) && (IsOnAnalysisBoard(r, c) || IsOnAnalysisBoard(pr, pc)))
            Lower(map, r + dr / 2, c + dc / 2, 'b');
    }

    for (int k = 1; k <= 3; ++k) {
        const char letter = static_cast<char>('a' + 2 * k);
        for (int side : {-1, 1}) {
            // Partner one row down and k + 1 columns aside: the rectangle is
            // rows r..r+1, the k columns between.
            // Partner k + 1 rows down and one column aside: rows r+1..r+k,
            // columns c and c + side.
            for (bool wide : {true, false}) {
                const int pr = wide ? r + 1 : r + k + 1;
                const int pc = wide ? c + side * (k + 1) : c + side;
                if (!IsOnAnalysisBoard(r, c) || !IsOnAnalysisBoard(pr, pc) || !own(pr, pc))
                    continue;
                const int r0 = wide ? r : r + 1, r1 = wide ? r + 1 : r + k;
                const int c0 = wide ? std::min(c + side, c + side * k) : std::min(c, c + side);
                const int c1 = wide ? std::max(c + side, c + side * k) : std::max(c, c + side);
                bool clear = true;
                for (int y = r0; y <= r1 && clear; ++y)
                    for (int x = c0; x <= c1 && clear; ++x)
                        clear = !IsStone(original[y][x]);
                if (!clear)
                    continue;
                for (int y = r0; y <= r1; ++y)
                    for (int x = c0; x <= c1; ++x)
                        Lower(map, y, x, letter);
            }
        }
    }

    for (int k = 1; k <= 2; ++k) {
        const char letter = static_cast<char>('b' + 2 * k);
        for (bool across : {true, false}) {
            const int dr = across ? 0 : 1, dc = across ? 1 : 0;
            const int pr = r + dr * (k + 2), pc = c + dc * (k + 2);
            if (!own(pr, pc) || (!IsOnAnalysisBoard(r, c) && !IsOnAnalysisBoard(pr, pc)))
                continue;
            bool clear = true;
            for (int i = 1; i <= k + 1 && clear; ++i)
                for (int w = -1; w <= 1 && clear; ++w) {
                    const int y = r + dr * i + dc * w, x = c + dc * i + dr * w;
                    clear = !IsOnAnalysisBoard(y, x) || original[y][x] != other;
                }
            if (!clear)
                continue;
            for (int i = 1; i <= k + 1; ++i)
                Lower(map, r + dr * i, c + dc * i, letter);
        }
    }
}

} // namespace

TAnalysisMap PositionMap(std::string_view position)
{
    TAnalysisMap map;
    for (auto& row : map)
        row.fill('#');
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            const std::size_t i = static_cast<std::size_t>((r - 1) * 19 + (c - 1));
            const char ch = i < position.size() ? position[i] : '-';
            map[r][c] = IsStone(ch) ? ch : '-';
        }
    return map;
}

std::string PositionText(const TAnalysisMap& position)
{
    std::string text;
    text.reserve(361);
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c)
            text += position[r][c];
    return text;
}

TAnalysisMap BuildShapeMap(const TAnalysisMap& position, char colour)
{
    TAnalysisMap original;
    for (int r = 0; r <= 20; ++r)
        for (int c = 0; c <= 20; ++c) {
            const char p = position[r][c];
            original[r][c] = !IsOnAnalysisBoard(r, c) ? colour : IsStone(p) ? p : 'z';
        }
    TAnalysisMap map = original;
    for (int r = 0; r <= 20; ++r)
        for (int c = 0; c <= 20; ++c)
            if (original[r][c] == colour)
                LinkPartners(map, original, r, c, colour);
    return map;
}

TAnalysisMap BuildRegionMap(const TAnalysisMap& ownShape, const TAnalysisMap& otherShape, char colour)
{
    TAnalysisMap map;
    for (auto& row : map)
        row.fill('#');
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            const char o = otherShape[r][c];
            map[r][c] = (o != colour && o != 'z') ? 'x' : ownShape[r][c];
        }
    return map;
}

TAnalysisMap BuildEyeSpaceMap(const TAnalysisMap& position, const TAnalysisMap& ownShape,
                              const TAnalysisMap& otherShape, char colour)
{
    TAnalysisMap eyes;
    for (int r = 0; r <= 20; ++r)
        for (int c = 0; c <= 20; ++c) {
            const char p = position[r][c];
            eyes[r][c] = !IsOnAnalysisBoard(r, c) ? '#' : IsStone(p) ? p : 'z';
        }

    // The work copy: the colour's shape with the other colour's claims as
    // "x"; the border stays the colour's, so the chains reach the edge.
    TAnalysisMap work = ownShape;
    for (int r = 1; r <= 19; ++r)
        for (int c = 1; c <= 19; ++c) {
            const char o = otherShape[r][c];
            if (o != colour && o != 'z')
                work[r][c] = 'x';
        }

    std::vector<std::pair<int, int>> stack, listed, region;
    stack.reserve(441);
    listed.reserve(441);
    region.reserve(441);
    for (int r0 = 1; r0 <= 19; ++r0) {
        for (int c0 = 1; c0 <= 19; ++c0) {
            if (work[r0][c0] != colour)
                continue;
            // The chain and what its links join: the flood goes on through
            // the stones (and the border), which become "M", and through the
            // links it reaches, which become "m", so chains joined by a link
            // are one. The points around it are listed once each.
            listed.clear();
            stack.assign(1, {r0, c0});
            work[r0][c0] = 'M';
            while (!stack.empty()) {
                const auto [r, c] = stack.back();
                stack.pop_back();
                for (const auto& d : kStep) {
                    const int y = r + d[0], x = c + d[1];
                    if (!InGrid(y, x))
                        continue;
                    char& cell = work[y][x];
                    if (cell == colour || IsConnection(cell)) {
                        cell = cell == colour ? 'M' : 'm';
                        stack.push_back({y, x});
                    }
                    if (IsOnAnalysisBoard(y, x) && cell != 'M' &&
                        std::find(listed.begin(), listed.end(), std::pair{y, x}) == listed.end())
                        listed.push_back({y, x});
                }
            }

            for (const auto& [lr, lc] : listed) {
                const char start = work[lr][lc];
                if (position[lr][lc] != '-' || (start != 'z' && start != 'm'))
                    continue;
                // The unlinked empty region from here: eye space when only
                // chains examined so far, their links and earlier eye and
                // outside points bound it.
                region.assign(1, {lr, lc});
                work[lr][lc] = 'C';
                bool enclosed = true;
                for (std::size_t i = 0; i < region.size(); ++i) {
                    const auto [r, c] = region[i];
                    for (const auto& d : kStep) {
                        const int y = r + d[0], x = c + d[1];
                        const char cell = work[y][x];
                        if (cell == 'z') {
                            work[y][x] = 'C';
                            region.push_back({y, x});
                        } else if (cell != 'C' && cell != 'M' && cell != 'm' && cell != 'I' && cell != 'O') {
                            enclosed = false;
                        }
                    }
                }
                enclosed = enclosed && region.size() <= static_cast<std::size_t>(kMaxEyeRegion);
                for (const auto& [r, c] : region)
                    work[r][c] = enclosed ? 'I' : 'z';
                if (enclosed) {
                    for (const auto& [r, c] : region)
                        eyes[r][c] = 'I';
                } else if (start == 'm') {
                    // A link that encloses nothing: outside, next to the chain.
                    work[lr][lc] = eyes[lr][lc] = 'O';
                }
            }
        }
    }
    return eyes;
}

} // namespace zel
