#pragma once
// Boards as ASCII pictures: 'X' black, 'O' white, '.' empty, one text row per
// board row from the top; blanks are ignored. A picture may cover only the
// upper left part of the board; the rest is empty.
#include <string>
#include <string_view>

#include "core/engine/GoBoard.h"
#include "core/engine/GoSnapshot.h"

namespace zel::test {

inline TGoSnapshot SnapshotFromDiagram(std::string_view picture, std::uint8_t toMove = kBlack)
{
    TGoSnapshot s;
    EmptySnapshot(s);
    s.ColourToMove = toMove;
    int x = 1, y = 1;
    bool rowStarted = false;
    for (char c : picture) {
        if (c == '\n') {
            if (rowStarted)
                ++y;
            x = 1;
            rowStarted = false;
            continue;
        }
        if (c != 'X' && c != 'O' && c != '.')
            continue;
        rowStarted = true;
        if (TGoBoard::IsOnBoard(x, y))
            s.Board[y][x] = c == 'X' ? kBlack : c == 'O' ? kWhite : kEmpty;
        ++x;
    }
    return s;
}

inline TGoBoard BoardFromDiagram(std::string_view picture, std::uint8_t toMove = kBlack)
{
    TNumbering n;
    ClearNumbering(n);
    return TGoBoard(SnapshotFromDiagram(picture, toMove), n);
}

// The upper left rows x columns of the board as a picture, rows ending in '\n'.
inline std::string Diagram(const TGoBoard& b, int rows = 19, int columns = 19)
{
    std::string out = "\n";
    for (int y = 1; y <= rows; ++y) {
        for (int x = 1; x <= columns; ++x) {
            const std::uint8_t c = b.Colour(x, y);
            out += c == kBlack ? 'X' : c == kWhite ? 'O' : '.';
        }
        out += '\n';
    }
    return out;
}

// The same picture normalised like Diagram (blanks dropped), for comparison.
inline std::string Picture(std::string_view picture)
{
    std::string out = "\n";
    bool rowStarted = false;
    for (char c : picture) {
        if (c == 'X' || c == 'O' || c == '.') {
            out += c;
            rowStarted = true;
        } else if (c == '\n' && rowStarted) {
            out += '\n';
            rowStarted = false;
        }
    }
    if (rowStarted)
        out += '\n';
    return out;
}

// 361 characters 'B', 'W', '-' row by row, as the capture reader reads them.
inline std::string PositionFromDiagram(std::string_view picture)
{
    TGoSnapshot s = SnapshotFromDiagram(picture);
    std::string out;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            out += s.Board[y][x] == kBlack ? 'B' : s.Board[y][x] == kWhite ? 'W' : '-';
    return out;
}

} // namespace zel::test
