#include "core/engine/CaptureReader.h"

#include <algorithm>

namespace zel {

namespace {

constexpr int kPoints = 361;

char Other(char colour)
{
    return colour == 'B' ? 'W' : 'B';
}

// The on-board orthogonal neighbours of point; returns how many.
int Neighbours(int point, int (&out)[4])
{
    const int row = (point - 1) / 19 + 1, col = (point - 1) % 19 + 1;
    int n = 0;
    if (row > 1)
        out[n++] = point - 19;
    if (row < 19)
        out[n++] = point + 19;
    if (col > 1)
        out[n++] = point - 1;
    if (col < 19)
        out[n++] = point + 1;
    return n;
}

bool IsPoint(int point)
{
    return point >= 1 && point <= kPoints;
}

} // namespace

TCaptureReader::TCaptureReader(int moveLimit) : moveLimit_(std::clamp(moveLimit, 1, kMaxMoves)) {}

void TCaptureReader::Load(std::string_view position)
{
    for (auto& row : board_)
        row.fill('#');
    for (int p = 1; p <= kPoints; ++p) {
        const char c = static_cast<std::size_t>(p - 1) < position.size() ? position[p - 1] : '-';
        At(p) = (c == 'B' || c == 'W') ? c : '-';
    }
    depth_ = 0;
    capturedCount_ = 0;
    deepest_ = 0;
}

void TCaptureReader::NextStamp()
{
    if (++currentStamp_ == 0) {
        for (auto& row : stamp_)
            row.fill(0);
        currentStamp_ = 1;
    }
}

int TCaptureReader::GroupLiberties(int point, int limit, int* out)
{
    const char colour = At(point);
    if (colour != 'B' && colour != 'W')
        return 0;
    NextStamp();
    auto stamped = [this](int p) -> std::uint32_t& { return stamp_[(p - 1) / 19 + 1][(p - 1) % 19 + 1]; };
    std::array<int, kPoints> stack;
    int top = 0, count = 0;
    stack[top++] = point;
    stamped(point) = currentStamp_;
    while (top > 0) {
        const int p = stack[--top];
        int nb[4];
        const int n = Neighbours(p, nb);
        for (int i = 0; i < n; ++i) {
            const int q = nb[i];
            if (stamped(q) == currentStamp_)
                continue;
            const char c = At(q);
            if (c == '-') {
                stamped(q) = currentStamp_;
                lastLiberty_ = q;
                if (out && count < kMaxListed)
                    out[count] = q;
                if (++count >= limit)
                    return count;
            } else if (c == colour) {
                stamped(q) = currentStamp_;
                stack[top++] = q;
            }
        }
    }
    return count;
}

int TCaptureReader::GroupStones(int point, std::array<int, 361>& stones)
{
    const char colour = At(point);
    NextStamp();
    auto stamped = [this](int p) -> std::uint32_t& { return stamp_[(p - 1) / 19 + 1][(p - 1) % 19 + 1]; };
    int count = 0, done = 0;
    stones[count++] = point;
    stamped(point) = currentStamp_;
    while (done < count) {
        int nb[4];
        const int n = Neighbours(stones[done++], nb);
        for (int i = 0; i < n; ++i) {
            if (stamped(nb[i]) != currentStamp_ && At(nb[i]) == colour) {
                stamped(nb[i]) = currentStamp_;
                stones[count++] = nb[i];
            }
        }
    }
    return count;
}

TCaptureReader::PlayResult TCaptureReader::Play(int point, char colour)
{
    if (!IsPoint(point) || At(point) != '-')
        return PlayResult::Refused;
    At(point) = colour;
    const char enemy = Other(colour);
    std::array<int, kPoints> removed;
    int removedCount = 0;
    int nb[4];
    const int n = Neighbours(point, nb);
    for (int i = 0; i < n; ++i) {
        const int q = nb[i];
        if (At(q) != enemy ||
            std::find(removed.begin(), removed.begin() + removedCount, q) != removed.begin() + removedCount)
            continue;
        if (GroupLiberties(q, 1, nullptr) > 0)
            continue;
        std::array<int, kPoints> stones;
        const int s = GroupStones(q, stones);
        for (int k = 0; k < s && removedCount < kPoints; ++k)
            removed[removedCount++] = stones[k];
    }
    auto refuse = [&](PlayResult r) {
        At(point) = '-';
        return r;
    };
    if (removedCount == 0 && GroupLiberties(point, 1, nullptr) == 0)
        return refuse(PlayResult::Refused);
    if (depth_ > 0) {
        const MoveEntry& last = moves_[depth_ - 1];
        if (last.Captured == point && removedCount == 1 && removed[0] == last.Point)
            return refuse(PlayResult::Refused);
    }
    if (depth_ >= moveLimit_ || capturedCount_ + removedCount > kMaxCaptured)
        return refuse(PlayResult::Full);
    for (int k = 0; k < removedCount; ++k) {
        At(removed[k]) = '-';
        captured_[capturedCount_++] = {removed[k], depth_ + 1};
    }
    moves_[depth_++] = {point, removedCount == 1 ? removed[0] : 0};
    std::swap(side_, opponent_);
    return PlayResult::Played;
}

void TCaptureReader::Undo()
{
    if (depth_ == 0)
        return;
    const MoveEntry m = moves_[--depth_];
    At(m.Point) = '-';
    while (capturedCount_ > 0 && captured_[capturedCount_ - 1].Depth == depth_ + 1)
        At(captured_[--capturedCount_].Point) = side_;
    std::swap(side_, opponent_);
}

int TCaptureReader::EmptyNeighbours(int point)
{
    int nb[4];
    const int n = Neighbours(point, nb);
    int empty = 0;
    for (int i = 0; i < n; ++i)
        empty += At(nb[i]) == '-' ? 1 : 0;
    return empty;
}

int TCaptureReader::LibertiesAt(int point, int limit, char colour)
{
    if (!IsPoint(point))
        return 0;
    const char c = At(point);
    if (c == Other(colour))
        return 0;
    if (c == colour)
        return GroupLiberties(point, limit, nullptr);
    At(point) = colour;
    const int n = GroupLiberties(point, limit, nullptr);
    At(point) = '-';
    return n;
}

void TCaptureReader::ListAttackerCandidates(Candidates& c, int point, const int* liberties, int count)
{
    c.Count = 0;
    if (count == 1) {
        c.Add(liberties[0]);
        return;
    }
    // Tried last-listed first: the liberty that lets the defender breathe
    // most is taken away first.
    const char defender = At(point);
    const int a = liberties[0], b = liberties[1];
    const int libsA = LibertiesAt(a, 5, defender), libsB = LibertiesAt(b, 5, defender);
    const bool aFirst = libsA > libsB || (libsA == libsB && EmptyNeighbours(a) > EmptyNeighbours(b));
    c.Add(aFirst ? b : a);
    c.Add(aFirst ? a : b);
}

void TCaptureReader::ListDefenderCandidates(Candidates& c, int point, int liberty)
{
    c.Count = 0;
    c.Add(liberty);
    const char attacker = Other(At(point));
    std::array<int, kPoints> group;
    const int size = GroupStones(point, group);
    std::array<bool, kPoints + 1> examined{};
    for (int i = 0; i < size; ++i) {
        int nb[4];
        const int n = Neighbours(group[i], nb);
        for (int k = 0; k < n; ++k) {
            const int q = nb[k];
            if (At(q) != attacker || examined[q])
                continue;
            std::array<int, kPoints> stones;
            const int s = GroupStones(q, stones);
            for (int j = 0; j < s; ++j)
                examined[stones[j]] = true;
            if (GroupLiberties(q, 2, nullptr) == 1)
                c.Add(lastLiberty_);
        }
    }
}

bool TCaptureReader::Search(int point)
{
    const char attacker = side_;
    const int start = depth_;
    int libs[kMaxListed];
    int n = GroupLiberties(point, 3, libs);
    if (n <= 1)
        return true;
    if (n >= 3)
        return false;
    ListAttackerCandidates(candidates_[start], point, libs, n);
    bool result = false;
    for (;;) {
        const int level = depth_ - start;
        Candidates& c = candidates_[depth_];
        if (c.Count == 0) {
            if (level == 0)
                break;
            if (level == 1) {
                result = true;
                break;
            }
            Undo();
            Undo();
            continue;
        }
        const int move = c.Points[--c.Count];
        const bool attackerMoves = side_ == attacker;
        const PlayResult played = Play(move, side_);
        if (played == PlayResult::Refused)
            continue;
        if (played == PlayResult::Full) {
            // Too deep to follow: the line counts as a failure of the chase.
            if (!attackerMoves)
                Undo();
            continue;
        }
        deepest_ = std::max(deepest_, depth_ - start);
        if (At(point) == '-') {
            if (depth_ - start < 2) {
                result = true;
                break;
            }
            Undo();
            Undo();
            continue;
        }
        n = GroupLiberties(point, 3, libs);
        if (side_ == attacker) {
            if (n < 3) {
                ListAttackerCandidates(candidates_[depth_], point, libs, n);
            } else {
                Undo();
                Undo();
            }
        } else if (n == 1) {
            ListDefenderCandidates(candidates_[depth_], point, libs[0]);
        } else {
            Undo();
        }
    }
    while (depth_ > start)
        Undo();
    return result;
}

bool TCaptureReader::IsCapturable(std::string_view position, int row, int col)
{
    Load(position);
    if (row < 1 || row > 19 || col < 1 || col > 19)
        return false;
    const int point = (row - 1) * 19 + col;
    const char stone = At(point);
    if (stone != 'B' && stone != 'W')
        return false;
    opponent_ = stone;
    side_ = Other(stone);
    return Search(point);
}

bool TCaptureReader::IsUnsafeMove(std::string_view position, int row, int col, char colour)
{
    Load(position);
    if (row < 1 || row > 19 || col < 1 || col > 19 || (colour != 'B' && colour != 'W'))
        return true;
    const int point = (row - 1) * 19 + col;
    side_ = colour;
    opponent_ = Other(colour);
    if (Play(point, colour) != PlayResult::Played)
        return true;
    const bool unsafe = Search(point);
    Undo();
    return unsafe;
}

int TCaptureReader::LibertiesAfter(std::string_view position, int point, int limit, char colour)
{
    Load(position);
    if (colour != 'B' && colour != 'W')
        return 0;
    return LibertiesAt(point, limit, colour);
}

int TCaptureReader::ListLiberties(std::string_view position, int row, int col, TLiberties& liberties)
{
    Load(position);
    liberties.fill(0);
    if (row < 1 || row > 19 || col < 1 || col > 19)
        return 0;
    return GroupLiberties((row - 1) * 19 + col, kMaxListed, liberties.data());
}

} // namespace zel
