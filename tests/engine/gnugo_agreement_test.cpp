// Replays games move by move on our board and on GNU Go (over GTP) and
// demands the same stones, prisoners and legality answers after every move.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/engine/GoBoard.h"
#include "engine/BoardDiagram.h"
#include "support/GtpEngine.h"

namespace zel {
namespace {

using test::Diagram;
using test::GtpEngine;

struct Point {
    int x, y;
};

class Referee {
public:
    Referee(GtpEngine& gtp, std::string name, unsigned seed) : gtp_(gtp), name_(std::move(name)), random_(seed)
    {
        gtp_.Queue("boardsize 19");
        gtp_.Queue("clear_board");
        gtp_.Flush();
        gtp_.Reply();
        gtp_.Reply();
    }

    const TGoBoard& Board() const { return board_; }
    // Sampled empty points that both sides found illegal (suicide or ko).
    int RefusedEmptyPoints() const { return refusedEmpty_; }

    // Plays (x, y) ((0, 0) a pass) for the colour to move on both boards and
    // compares. Returns false (after reporting) on the first disagreement.
    bool Play(Point p)
    {
        const std::uint8_t colour = board_.ColourToMove();
        moves_.push_back(GtpEngine::Vertex(p.x, p.y));
        const bool ours = p.x == 0 ? board_.PlayPass() : board_.PlayAt(p.x, p.y);
        bool theirs = false;
        gtp_.Ask(std::string("play ") + Name(colour) + " " + GtpEngine::Vertex(p.x, p.y), &theirs);
        if (ours != theirs)
            return Fail("play answered " + std::to_string(ours) + " here, " + std::to_string(theirs) + " by GNU Go");
        return Compare();
    }

    // Takes back the last move on both boards and compares.
    bool Undo()
    {
        moves_.push_back("undo");
        board_.Undo();
        bool theirs = false;
        gtp_.Ask("undo", &theirs);
        if (!theirs)
            return Fail("GNU Go refused the undo");
        return Compare();
    }

    bool Fail(const std::string& what)
    {
        std::ostringstream game;
        for (std::size_t i = 0; i < moves_.size(); ++i)
            game << (i % 20 == 0 ? "\n  " : " ") << moves_[i];
        ADD_FAILURE() << name_ << ", move " << moves_.size() << " (" << moves_.back() << "): " << what
                      << "\nmoves:" << game.str() << "\nour board:" << Diagram(board_);
        return false;
    }

private:
    static const char* Name(std::uint8_t colour) { return colour == kBlack ? "black" : "white"; }

    // Points worth asking about: around the last move, where stones were
    // just taken (ko and suicide points), and a few anywhere.
    std::vector<Point> Sample()
    {
        std::vector<Point> points;
        int lx = 0, ly = 0;
        board_.LastMove(lx, ly);
        const int d[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        if (lx > 0)
            for (auto& o : d)
                if (TGoBoard::IsOnBoard(lx + o[0], ly + o[1]))
                    points.push_back({lx + o[0], ly + o[1]});
        const TCaptureHistory& c = board_.Captures();
        for (int i = c.Count - 1; i >= 0 && c.Items[i].MoveIndex == board_.MoveCount() - 1; --i)
            points.push_back({c.Items[i].X, c.Items[i].Y});
        std::uniform_int_distribution<int> coord(1, 19);
        for (int i = 0; i < 4; ++i)
            points.push_back({coord(random_), coord(random_)});
        return points;
    }

    bool Compare()
    {
        const std::vector<Point> sample = Sample();
        const std::uint8_t toMove = board_.ColourToMove();
        gtp_.Queue("list_stones black");
        gtp_.Queue("list_stones white");
        gtp_.Queue("captures black");
        gtp_.Queue("captures white");
        for (Point p : sample)
            gtp_.Queue(std::string("is_legal ") + Name(toMove) + " " + GtpEngine::Vertex(p.x, p.y));
        gtp_.Flush();
        const std::string black = gtp_.Reply(), white = gtp_.Reply();
        const int blackCaptures = std::atoi(gtp_.Reply().c_str()), whiteCaptures = std::atoi(gtp_.Reply().c_str());
        std::vector<bool> legal;
        for (std::size_t i = 0; i < sample.size(); ++i)
            legal.push_back(gtp_.Reply() == "1");

        std::set<std::string> stones[3];
        std::istringstream(black) >> std::ws;
        for (auto [text, colour] : {std::pair{&black, kBlack}, {&white, kWhite}}) {
            std::istringstream in(*text);
            std::string v;
            while (in >> v)
                stones[colour].insert(v);
        }
        std::set<std::string> ours[3];
        for (int y = 1; y <= 19; ++y)
            for (int x = 1; x <= 19; ++x)
                if (board_.Colour(x, y) != kEmpty)
                    ours[board_.Colour(x, y)].insert(GtpEngine::Vertex(x, y));
        if (ours[kBlack] != stones[kBlack] || ours[kWhite] != stones[kWhite])
            return Fail("stones differ; GNU Go black: " + black + "\nGNU Go white: " + white);
        if (board_.BlackPrisoners() != blackCaptures || board_.WhitePrisoners() != whiteCaptures)
            return Fail("prisoners " + std::to_string(board_.BlackPrisoners()) + "/" +
                        std::to_string(board_.WhitePrisoners()) + " here, " + std::to_string(blackCaptures) + "/" +
                        std::to_string(whiteCaptures) + " by GNU Go");
        for (std::size_t i = 0; i < sample.size(); ++i)
            refusedEmpty_ += !legal[i] && board_.IsEmptyPoint(sample[i].x, sample[i].y) ? 1 : 0;
        for (std::size_t i = 0; i < sample.size(); ++i)
            if (board_.IsLegalMove(sample[i].x, sample[i].y) != legal[i])
                return Fail(std::string("legality of ") + Name(toMove) + " at " +
                            GtpEngine::Vertex(sample[i].x, sample[i].y) + ": GNU Go says " +
                            (legal[i] ? "legal" : "illegal"));
        return true;
    }

    GtpEngine& gtp_;
    std::string name_;
    std::mt19937 random_;
    TGoBoard board_;
    std::vector<std::string> moves_;
    int refusedEmpty_ = 0;
};

std::vector<std::filesystem::path> SelfPlayGames()
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(ZEL_TEST_DATA) + "/gnugo"))
        if (entry.path().extension() == ".sgf")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(GnuGoAgreement, SelfPlayGames)
{
    GtpEngine gtp;
    if (!gtp.Running())
        GTEST_SKIP() << "GNU Go is not installed";
    const auto files = SelfPlayGames();
    ASSERT_GE(files.size(), 30u);
    const std::regex move(";([BW])\\[([a-s]{2})?\\]");
    int moves = 0;
    for (std::size_t g = 0; g < files.size(); ++g) {
        std::ifstream in(files[g]);
        std::stringstream text;
        text << in.rdbuf();
        const std::string sgf = text.str();
        Referee referee(gtp, files[g].filename().string(), static_cast<unsigned>(g));
        bool ok = true;
        for (auto it = std::sregex_iterator(sgf.begin(), sgf.end(), move); ok && it != std::sregex_iterator(); ++it) {
            const std::uint8_t colour = (*it)[1] == "B" ? kBlack : kWhite;
            if (colour != referee.Board().ColourToMove()) {
                ok = referee.Fail("the record has the other colour to move");
                break;
            }
            const std::string at = (*it)[2];
            const Point p = at.empty() ? Point{0, 0} : Point{at[0] - 'a' + 1, at[1] - 'a' + 1};
            ok = referee.Play(p);
            ++moves;
        }
    }
    EXPECT_GT(moves, 30 * 100);
}

TEST(GnuGoAgreement, RandomGames)
{
    GtpEngine gtp;
    if (!gtp.Running())
        GTEST_SKIP() << "GNU Go is not installed";
    // Games on the whole board, and crowded games in one corner where
    // captures, ko and suicide come up all the time.
    const int kGames = 170;
    const int regions[] = {19, 9, 5};
    int moves = 0, passes = 0, refused = 0;
    for (int g = 0; g < kGames; ++g) {
        const int size = regions[g % 3];
        Referee referee(gtp,
                        "random game " + std::to_string(g) + " on " + std::to_string(size) + "x" + std::to_string(size),
                        static_cast<unsigned>(1000 + g));
        std::mt19937 random(static_cast<unsigned>(g));
        bool ok = true;
        int lastWasPass = 0;
        for (int m = 0; ok && m < 250 && lastWasPass < 2; ++m) {
            // The first legal point of the region in a random order.
            std::vector<Point> points;
            for (int y = 1; y <= size; ++y)
                for (int x = 1; x <= size; ++x)
                    points.push_back({x, y});
            std::shuffle(points.begin(), points.end(), random);
            Point p{0, 0};
            if (random() % 50 != 0)
                for (Point q : points)
                    if (referee.Board().IsLegalMove(q.x, q.y)) {
                        p = q;
                        break;
                    }
            lastWasPass = p.x == 0 ? lastWasPass + 1 : 0;
            passes += p.x == 0 ? 1 : 0;
            ok = referee.Play(p);
            ++moves;
            // Now and then a move is taken back, captures and ko state with it.
            if (ok && random() % 20 == 0)
                ok = referee.Undo();
        }
        refused += referee.RefusedEmptyPoints();
    }
    EXPECT_GT(moves, kGames * 100);
    EXPECT_GT(refused, 100); // the games did run into suicide and ko
    EXPECT_GT(passes, 0);
}

} // namespace
} // namespace zel
