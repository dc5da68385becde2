#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace zel {

// Tactical reader for the position analysis: decides whether a group falls to
// a forced chase of ataris (ladders, short chases, the defender's
// counter-captures included), whether a new stone would be safe, and how many
// liberties a stone would have.
//
// Positions are 361 characters row by row ('B', 'W', '-'; anything else and a
// missing character count as empty); points are (row, column), both 1..19,
// or the single number (row - 1) * 19 + column (0 = none). Every question
// reloads the reader's own board; one question is answered at a time.
class TCaptureReader {
public:
    static constexpr int kMaxMoves = 180;
    static constexpr int kMaxCaptured = 200;
    static constexpr int kMaxListed = 20;

    using TLiberties = std::array<int, kMaxListed>;

    // moveLimit bounds the lines read (at most kMaxMoves); a line that would
    // go deeper is abandoned as a failed chase.
    explicit TCaptureReader(int moveLimit = kMaxMoves);

    // True when the group at (row, col) can be captured with its opponent to
    // move. An empty point gives false.
    bool IsCapturable(std::string_view position, int row, int col);
    // True when colour ('B' or 'W') cannot play at (row, col), or when the new
    // stone's group could then be captured.
    bool IsUnsafeMove(std::string_view position, int row, int col, char colour);
    // Liberties of the group a stone of colour would form at point, counted up
    // to limit; 0 when point is off the board or holds the other colour.
    int LibertiesAfter(std::string_view position, int point, int limit, char colour);
    // Liberties of the group at (row, col), at most 20, as point numbers.
    int ListLiberties(std::string_view position, int row, int col, TLiberties& liberties);
    // The last liberty found by a liberty count (a point number, 0 if none).
    int LastLiberty() const { return lastLiberty_; }
    // Deepest line read by the last question, in moves.
    int DeepestLine() const { return deepest_; }

private:
    enum class PlayResult { Played, Refused, Full };

    struct MoveEntry {
        int Point = 0;
        int Captured = 0;
    };
    struct CaptureEntry {
        int Point = 0;
        int Depth = 0;
    };
    struct Candidates {
        int Count = 0;
        std::array<int, 64> Points{};
        void Add(int p)
        {
            if (Count < static_cast<int>(Points.size()))
                Points[Count++] = p;
        }
    };

    void Load(std::string_view position);
    char& At(int point) { return board_[(point - 1) / 19 + 1][(point - 1) % 19 + 1]; }
    // Liberties of the group at point, at most limit of them listed into out
    // (out may be null); returns their number, capped at limit.
    int GroupLiberties(int point, int limit, int* out);
    // Every stone of the group at point; returns their number.
    int GroupStones(int point, std::array<int, 361>& stones);
    // LibertiesAfter on the reader's current board.
    int LibertiesAt(int point, int limit, char colour);
    PlayResult Play(int point, char colour);
    void Undo();
    bool Search(int point);
    void ListAttackerCandidates(Candidates& c, int point, const int* liberties, int count);
    void ListDefenderCandidates(Candidates& c, int point, int liberty);
    int EmptyNeighbours(int point);
    void NextStamp();

    std::array<std::array<char, 21>, 21> board_{};
    std::array<std::array<std::uint32_t, 21>, 21> stamp_{};
    std::uint32_t currentStamp_ = 0;
    char side_ = 'B';
    char opponent_ = 'W';
    std::array<MoveEntry, kMaxMoves> moves_{};
    int depth_ = 0;
    std::array<CaptureEntry, kMaxCaptured> captured_{};
    int capturedCount_ = 0;
    std::array<Candidates, kMaxMoves + 1> candidates_{};
    int lastLiberty_ = 0;
    int deepest_ = 0;
    int moveLimit_ = kMaxMoves;
};

} // namespace zel
