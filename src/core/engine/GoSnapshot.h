#pragma once
#include <array>
#include <cstdint>

namespace zel {

// Board geometry and the values stored per point.
constexpr int kBoardSize = 19;
constexpr int kMaxMoves = 500;
constexpr int kMaxCaptures = 500;

constexpr std::uint8_t kEmpty = 0;
constexpr std::uint8_t kBlack = 1;
constexpr std::uint8_t kWhite = 2;

// Point marks: 1..500 a move number, then the special marks below.
constexpr int kMarkLastMove = 501;
constexpr int kMarkFirstLetter = 600; // 600..625 letter labels "A".."Z"
constexpr int kMarkBlackPoint = 650;  // dead white stone or black territory
constexpr int kMarkWhitePoint = 651;  // dead black stone or white territory

// Per-point arrays indexed [Y][X] with X, Y in 1..19; row 0 and column 0 are
// unused and stay zero.
using TColourGrid = std::array<std::array<std::uint8_t, kBoardSize + 1>, kBoardSize + 1>;
using TMarkGrid = std::array<std::array<std::int32_t, kBoardSize + 1>, kBoardSize + 1>;

// One move record. X = Y = 0 is a pass; X = -1 means the record holds no move.
// KoX, KoY: the single stone the move captured, else 0, 0.
struct TMoveRecord {
    std::uint8_t Colour = 0;
    int X = -1;
    int Y = 0;
    int KoX = 0;
    int KoY = 0;
};

// A stone removed by capture; MoveIndex is the move count before the
// capturing move was recorded (move n stores n - 1).
struct TCaptureItem {
    int X = 0;
    int Y = 0;
    int MoveIndex = 0;
};

struct TCaptureHistory {
    int Count = 0;
    std::array<TCaptureItem, kMaxCaptures> Items{}; // Items[0] is the first removal
};

// The whole state of a board as one plain record; copied whole between the
// game session's board, the game window and the record tree.
struct TGoSnapshot {
    std::uint8_t ColourToMove = kBlack;
    int BlackPrisoners = 0; // white stones captured by black
    int WhitePrisoners = 0; // black stones captured by white
    int Handicap = 0;
    std::uint8_t HandicapVariant = 1;
    int MoveCount = 0;
    TCaptureHistory Captures;
    std::array<TMoveRecord, kMaxMoves + 1> Moves{}; // record 0 is never a real move
    TColourGrid Board{};
    TMarkGrid Marks{};
};

// How stones are numbered on the board.
struct TNumbering {
    int StartNumber = 0;   // number shown for the first numbered move
    int FirstNumbered = 0; // index of the move that shows StartNumber
    std::uint8_t ShowNumbers = 0;
};

// Passed to the move event. X, Y: the move just made (0, 0 a pass); after an
// undo, the move now last.
struct TMoveInfo {
    int X = 0;
    int Y = 0;
    int MoveCount = 0;
    int WhitePrisoners = 0;
    int BlackPrisoners = 0;
    std::uint8_t ColourToMove = kBlack;
};

// A new game: black to move, no stones, no moves (every record X = -1).
void EmptySnapshot(TGoSnapshot& s);
void ClearNumbering(TNumbering& n);
void ClearPointArray(TColourGrid& a);

} // namespace zel
