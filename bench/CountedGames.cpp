#include "CountedGames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/record/SgfTree.h"

namespace zel::bench {

namespace {

// SGF point "pd" as board (x, y); false for a pass or a point off the board.
bool SgfPoint(const std::string& v, int& x, int& y)
{
    if (v.size() != 2)
        return false;
    x = v[0] - 'a' + 1;
    y = v[1] - 'a' + 1;
    return TGoBoard::IsOnBoard(x, y);
}

// Plays colour at (x, y), a pass of the other colour first when it is not its
// turn; false when the board refuses the move.
bool PlayColour(TGoBoard& board, std::uint8_t colour, int x, int y)
{
    if (!board.IsToMove(colour))
        board.PlayPass();
    return board.PlayAt(x, y);
}

bool ReadCountedGame(const std::filesystem::path& path, TCountedGame& game)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    SgfTree tree;
    if (ParseSgf(text.str(), tree) != SgfStatus::Ok || tree.Nodes.empty())
        return false;
    const SgfNode& root = tree.Nodes[0];
    const std::string* result = root.Find("RE");
    if (!result || result->size() < 3 || (*result)[1] != '+')
        return false;
    game.Name = path.filename().string();
    game.ResultMargin = std::atof(result->c_str() + 2) * ((*result)[0] == 'B' ? 1 : -1);
    if (const std::string* komi = root.Find("KM"))
        game.Komi = std::atof(komi->c_str());
    if (const std::string* rules = root.Find("RU")) {
        std::string r = *rules;
        std::transform(r.begin(), r.end(), r.begin(), [](unsigned char c) { return std::tolower(c); });
        game.Rules = r == "chinese" ? TCountingRules::Area : TCountingRules::Territory;
    }
    TGoBoard& board = game.Board;
    int x = 0, y = 0;
    for (const std::string& p : root.All("AB"))
        if (SgfPoint(p, x, y)) {
            if (!PlayColour(board, kBlack, x, y))
                return false;
            game.Setup.emplace_back(x, y);
        }
    game.SetupMoves = board.MoveCount();
    for (int n = 0;;) {
        const SgfNode& node = tree.Nodes[static_cast<std::size_t>(n)];
        for (const auto& [id, colour] : {std::pair{"B", kBlack}, std::pair{"W", kWhite}})
            if (const std::string* move = node.Find(id)) {
                if (!SgfPoint(*move, x, y)) {
                    if (!board.IsToMove(colour))
                        board.PlayPass();
                    board.PlayPass();
                } else if (!PlayColour(board, colour, x, y)) {
                    return false;
                }
            }
        if (node.Children.empty())
            break;
        n = node.Children[0];
    }
    game.Position = PositionOf(board);
    game.SideToMove = board.ColourToMove() == kBlack ? 'B' : 'W';
    return true;
}

} // namespace

std::string PositionOf(const TGoBoard& board)
{
    std::string p;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            p += board.Colour(x, y) == kBlack ? 'B' : board.Colour(x, y) == kWhite ? 'W' : '-';
    return p;
}

std::filesystem::path CountedGamesDir()
{
    const char* dir = std::getenv("ZEL_COUNTED_GAMES");
    return dir ? dir : "/work/shared/data/ogs-counted-349";
}

std::vector<TCountedGame> ReadCountedGames(std::size_t limit)
{
    std::vector<std::filesystem::path> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(CountedGamesDir(), error))
        if (entry.path().extension() == ".sgf")
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<TCountedGame> games;
    for (const auto& p : paths) {
        if (limit && games.size() >= limit)
            break;
        TCountedGame g;
        if (ReadCountedGame(p, g))
            games.push_back(std::move(g));
        else
            std::fprintf(stderr, "unreadable game %s\n", p.string().c_str());
    }
    return games;
}

} // namespace zel::bench
