#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "core/engine/GoSnapshot.h"
#include "core/engine/Stack.h"

namespace zel {

// The rules engine of one 19x19 game: stones, move and capture history, one
// mark per point, legality (occupied point, suicide, simple ko), prisoners,
// undo/redo, handicap, dead groups and counting. It draws nothing: every
// change of a point goes out through OnPointChange and every completed
// operation through OnMove. Illegal requests change nothing.
class TGoBoard {
public:
    using PointChangeEvent = std::function<void(TGoBoard& sender, int x, int y, int mark, std::uint8_t colour)>;
    // advanced: true for a move, pass or redo; false for an undo or a removal
    // of dead stones.
    using MoveEvent = std::function<void(TGoBoard& sender, const TMoveInfo& info, bool advanced)>;

    // Colour and point pairs as ExportColours writes them.
    using TColourPairs = std::array<std::pair<int, int>, kBoardSize * kBoardSize>;

    TGoBoard(); // an empty game without numbering
    TGoBoard(const TGoSnapshot& snapshot, const TNumbering& numbering);

    PointChangeEvent OnPointChange;
    MoveEvent OnMove;

    static bool IsOnBoard(int x, int y) { return x >= 1 && x <= kBoardSize && y >= 1 && y <= kBoardSize; }
    bool IsEmptyPoint(int x, int y) const { return IsOnBoard(x, y) && board_[y][x] == kEmpty; }
    // Whether ColourToMove may play at (x, y) now; changes nothing.
    bool IsLegalMove(int x, int y) const;

    int Handicap() const { return handicap_; }
    std::uint8_t HandicapVariant() const { return handicapVariant_; }
    std::uint8_t ColourToMove() const { return colourToMove_; }
    bool IsToMove(std::uint8_t colour) const { return colour == colourToMove_; }
    int MoveCount() const { return moveCount_; }
    int RedoLimit() const { return redoLimit_; }
    // Clamped to MoveCount..500.
    void SetRedoLimit(int limit);
    // Point of move record MoveCount (-1, 0 when there is none; 0, 0 a pass).
    void LastMove(int& x, int& y) const;
    int BlackPrisoners() const { return blackPrisoners_; }
    int WhitePrisoners() const { return whitePrisoners_; }
    // Stone colour and mark of an on-board point; 0 elsewhere.
    std::uint8_t Colour(int x, int y) const { return IsOnBoard(x, y) ? board_[y][x] : kEmpty; }
    int Mark(int x, int y) const { return IsOnBoard(x, y) ? marks_[y][x] : 0; }
    // Move record i, 0..500.
    const TMoveRecord& Move(int i) const { return moves_[i]; }
    const TCaptureHistory& Captures() const { return captures_; }
    TNumbering Numbering() const { return {startNumber_, firstNumbered_, showNumbers_}; }
    void SetShowNumbers(bool flag) { showNumbers_ = flag ? 1 : 0; }
    void SetNumbering(const TNumbering& numbering);

    // Plays ColourToMove at (x, y). Returns false for an illegal move, which
    // changes nothing but the redo range (cut to MoveCount). A board holding
    // 500 moves or 500 captured stones refuses further moves.
    bool PlayAt(int x, int y);
    // Records a pass; refused (false) when 500 moves are recorded.
    bool PlayPass();
    // Takes back the last move or pass; nothing without one.
    void Undo();
    // Replays move record MoveCount + 1 while below RedoLimit, passes included.
    // False at the limit or when the record cannot be played here.
    bool Redo();
    // Places count handicap stones (2..19; 10 and more give twelve) for
    // black; white is then to move. variant 0 puts the third stone at the
    // upper left, any other value at the lower right.
    void SetHandicap(int count, std::uint8_t variant);
    // Marks the group at (x, y), together with the stones of its colour that
    // share its enclosed empty area, dead (650/651); a marked group is revived,
    // or, with remove, taken off as prisoners. True when the group was marked.
    bool ToggleDeadGroup(int x, int y, bool remove);
    // Clears clicks, then toggles every on-board point of text (letter pairs X, Y).
    // Text of odd length toggles nothing.
    void ApplyDeadList(std::string_view text, bool remove, TStack& clicks);
    // Empties clicks; letter pairs of the clicked points that are marked dead,
    // each point once.
    std::string DeadListText(TStack& clicks);
    // Empty regions bordered by one colour only count for it (announced with
    // marks 650/651, not stored), plus prisoners. Stones are not counted.
    void CountScore(int& black, int& white);

    void SaveSnapshot(TGoSnapshot& s) const;
    // Keeps the handicap variant, numbering and events; announces the last move.
    void LoadSnapshot(const TGoSnapshot& s);
    void ResetGame();
    // Numbers[Y][X] := index of the latest move whose stone stands there; then
    // numbers every move from 1.
    void NumberAllMoves(TMarkGrid& numbers);
    // Pair (Y-1)*19 + (X-1) := (-1, 0 black / 1 white / 2 empty).
    void ExportColours(TColourPairs& pairs) const;

    // Text forms of the game; coordinates as letters chr(v + 65), a pass "AA".
    std::string GameText() const;
    std::string MovesAfterText(int n) const;
    std::string NumberedMovesText() const;
    std::string RecordLinesText() const;
    std::string HandicapText() const;

private:
    // Legality of colour at (x, y); fills captured with the stones the move
    // removes and koX, koY with the single captured stone.
    bool CheckMove(int x, int y, std::uint8_t colour, TStack& captured, int& koX, int& koY) const;
    // Plays an already recorded-or-new move; shared by PlayAt and Redo.
    bool PlayStone(int x, int y, bool newMove);
    void RecordPass();
    void NumberingStep();
    void PointChanged(int x, int y);
    void RaiseMove(bool advanced);
    int RestoredMark(int x, int y) const;
    void SwapColours();
    void LoadFields(const TGoSnapshot& s);

    std::uint8_t opponentColour_ = kWhite;
    int curX_ = 0;
    int curY_ = 0;
    int koX_ = 0;
    int koY_ = 0;
    int nextMark_ = 0;
    std::uint8_t colourToMove_ = kBlack;
    int blackPrisoners_ = 0;
    int whitePrisoners_ = 0;
    int moveCount_ = 0;
    std::uint8_t handicapVariant_ = 1;
    int handicap_ = 0;
    int startNumber_ = 0;
    int redoLimit_ = 0;
    std::uint8_t showNumbers_ = 0;
    std::array<TMoveRecord, kMaxMoves + 1> moves_{};
    TCaptureHistory captures_;
    TColourGrid board_{};
    TMarkGrid marks_{};
    int firstNumbered_ = 0;
};

} // namespace zel
