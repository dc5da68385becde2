#include "core/gtp/GtpPosition.h"

#include "core/engine/GoBoard.h"
#include "core/gtp/GtpText.h"

#include <cstdio>

namespace zel {

double GtpKomi(std::string_view komiSideCode, int komi)
{
    if (komi <= 0)
        return 0;
    const double points = komi + 0.5;
    return komiSideCode == "B" ? -points : points;
}

TDeadStoneQuery GameQuery(const TGoBoard& board, double komi)
{
    TDeadStoneQuery query;
    query.Komi = komi;
    if (board.Handicap() >= 2) {
        TGoBoard start;
        start.SetHandicap(board.Handicap(), board.HandicapVariant());
        for (int y = 1; y <= kBoardSize; ++y)
            for (int x = 1; x <= kBoardSize; ++x)
                if (start.Colour(x, y) == kBlack)
                    query.HandicapStones.emplace_back(x, y);
    }
    for (int i = 1; i <= board.MoveCount(); ++i) {
        const TMoveRecord& m = board.Move(i);
        TPlayedMove move;
        move.Colour = m.Colour == kWhite ? kWhite : kBlack;
        move.X = TGoBoard::IsOnBoard(m.X, m.Y) ? m.X : 0;
        move.Y = move.X == 0 ? 0 : m.Y;
        query.Moves.push_back(move);
    }
    query.Position.reserve(kBoardSize * kBoardSize);
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x) {
            const std::uint8_t c = board.Colour(x, y);
            query.Position += c == kBlack ? 'B' : c == kWhite ? 'W' : '-';
        }
    query.SideToMove = board.ColourToMove() == kWhite ? 'W' : 'B';
    return query;
}

std::string GtpPlayCommand(const TPlayedMove& move)
{
    return std::string("play ") + (move.Colour == kWhite ? "W " : "B ") + GtpVertexText(move.X, move.Y);
}

std::vector<std::string> GtpSetupCommands(const TDeadStoneQuery& query)
{
    std::vector<std::string> commands{"boardsize 19", "clear_board"};
    char komi[32];
    std::snprintf(komi, sizeof komi, "komi %.1f", query.Komi);
    commands.emplace_back(komi);
    if (!query.HandicapStones.empty()) {
        std::string line = "set_free_handicap";
        for (const auto& [x, y] : query.HandicapStones)
            line += " " + GtpVertexText(x, y);
        commands.push_back(line);
    }
    for (const TPlayedMove& move : query.Moves)
        commands.push_back(GtpPlayCommand(move));
    return commands;
}

bool ReadGtpVertexList(std::string_view text, std::vector<std::pair<int, int>>& points)
{
    points.clear();
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t\n", at);
        if (start == std::string_view::npos)
            break;
        std::size_t end = text.find_first_of(" \t\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        int x = 0, y = 0;
        if (!ReadGtpVertex(text.substr(start, end - start), x, y) || x == 0)
            return false;
        points.emplace_back(x, y);
        at = end;
    }
    return true;
}

bool ReadGtpDeadDragons(std::string_view text, std::vector<std::pair<int, int>>& dragons)
{
    dragons.clear();
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        const std::size_t colon = line.find(':');
        int x = 0, y = 0;
        if (colon == std::string_view::npos || !ReadGtpVertex(line.substr(0, colon), x, y) || x == 0)
            return false;
        std::string_view status = line.substr(colon + 1);
        const std::size_t first = status.find_first_not_of(' ');
        status = first == std::string_view::npos ? std::string_view{} : status.substr(first);
        if (status.substr(0, 4) == "dead")
            dragons.emplace_back(x, y);
    }
    return true;
}

} // namespace zel
