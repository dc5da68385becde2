// The suggested dead stones at counting, measured on counted games.
//
// Before the timings the program reads the counted games (every *.sgf of
// $ZEL_COUNTED_GAMES, by default the 349-game set; `--games=N` takes the
// first N), asks the game window's estimator (GNU Go over GTP when it can be
// run, else our analysis) for each final game's dead stones, applies them as
// the player's clicks would, counts with the game's rules and komi and
// compares with the recorded result. In the same run GNU Go's own
// `final_score` of the same game (of the first `--final-score-games=N`; it
// plays the game out first and is slow) is compared with the result, and the
// time from question to answer is taken per game.
//
// Timings: BM_SuggestGnuGo and BM_SuggestAnalysis, one suggestion per
// iteration over the first games.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/base/Cp949.h"
#include "core/engine/GoBoard.h"
#include "core/engine/ScoreCount.h"
#include "core/gtp/AnalysisDeadStones.h"
#include "core/gtp/DeadMarks.h"
#include "core/gtp/GtpPosition.h"
#include "core/record/SgfTree.h"
#include "os/GtpDeadStones.h"

namespace {

using namespace zel;

constexpr int kGnuGoLevel = kJudgeLevel;
constexpr int kGnuGoTimeoutMs = kJudgeTimeoutMs;
constexpr int kFinalScoreTimeoutMs = 120000;

struct TCountedGame {
    std::string Name;
    TGoBoard Board; // the final position, as the session's board holds it
    TDeadStoneQuery Query;
    TCountingRules Rules = TCountingRules::Territory;
    double ResultMargin = 0;
};

bool SgfPoint(const std::string& v, int& x, int& y)
{
    if (v.size() != 2)
        return false;
    x = v[0] - 'a' + 1;
    y = v[1] - 'a' + 1;
    return TGoBoard::IsOnBoard(x, y);
}

// Reads one game; setup stones stand for the handicap, moves of the wrong
// colour get a pass of the other first, as a session's board would record them.
bool ReadGame(const std::filesystem::path& path, TCountedGame& game)
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
    double komi = 0;
    if (const std::string* k = root.Find("KM"))
        komi = std::atof(k->c_str());
    if (const std::string* rules = root.Find("RU")) {
        std::string r = *rules;
        std::transform(r.begin(), r.end(), r.begin(), [](unsigned char c) { return std::tolower(c); });
        game.Rules = r == "chinese" ? TCountingRules::Area : TCountingRules::Territory;
    }
    int x = 0, y = 0;
    std::vector<std::pair<int, int>> setup;
    for (const std::string& p : root.All("AB"))
        if (SgfPoint(p, x, y)) {
            if (!game.Board.IsToMove(kBlack))
                game.Board.PlayPass();
            if (!game.Board.PlayAt(x, y))
                return false;
            setup.emplace_back(x, y);
        }
    const int setupMoves = game.Board.MoveCount();
    for (int n = 0;;) {
        const SgfNode& node = tree.Nodes[static_cast<std::size_t>(n)];
        for (const auto& [id, colour] : {std::pair{"B", kBlack}, std::pair{"W", kWhite}})
            if (const std::string* move = node.Find(id)) {
                if (!game.Board.IsToMove(colour))
                    game.Board.PlayPass();
                if (!SgfPoint(*move, x, y))
                    game.Board.PlayPass();
                else if (!game.Board.PlayAt(x, y))
                    return false;
            }
        if (node.Children.empty())
            break;
        n = node.Children[0];
    }
    game.Query = GameQuery(game.Board, komi);
    // Setup stones go to the engine as handicap stones, not as moves.
    game.Query.HandicapStones = setup;
    game.Query.Moves.erase(game.Query.Moves.begin(), game.Query.Moves.begin() + setupMoves);
    return true;
}

std::filesystem::path GamesDir()
{
    const char* dir = std::getenv("ZEL_COUNTED_GAMES");
    return dir ? dir : "/work/shared/data/ogs-counted-349";
}

std::vector<TCountedGame>& Games(std::size_t limit = 0)
{
    static std::vector<TCountedGame> games;
    static bool read = false;
    if (read)
        return games;
    read = true;
    std::vector<std::filesystem::path> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(GamesDir(), error))
        if (entry.path().extension() == ".sgf")
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    for (const auto& p : paths) {
        if (limit && games.size() >= limit)
            break;
        TCountedGame g;
        if (ReadGame(p, g))
            games.push_back(std::move(g));
        else
            std::fprintf(stderr, "unreadable game %s\n", p.string().c_str());
    }
    return games;
}

// The margin after the suggested stones were marked as clicks would mark them.
double SuggestedMargin(const TCountedGame& game, const std::vector<std::pair<int, int>>& dead)
{
    const TDeadGrid marked = MarkedByPoints(game.Board, dead);
    TDeadMask mask{};
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x)
            mask[static_cast<std::size_t>((y - 1) * kBoardSize + x - 1)] = marked[y][x];
    const TScoreCount s = CountPosition(game.Query.Position, mask, game.Board.BlackPrisoners(),
                                        game.Board.WhitePrisoners(), game.Rules, game.Query.Komi);
    return s.Margin();
}

void PrintFigures(DeadStoneEstimator& estimator, TGtpDeadStones* gnugo, std::size_t gnugoGames)
{
    const auto& games = Games();
    int exact = 0, answered = 0, engineExact = 0, engineAnswered = 0, engineAsked = 0;
    std::vector<double> ms;
    for (const auto& game : games) {
        std::vector<std::pair<int, int>> dead;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = estimator.DeadStones(game.Query, dead);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (ok) {
            ++answered;
            exact += SuggestedMargin(game, dead) == game.ResultMargin;
        }
        if (gnugo && static_cast<std::size_t>(engineAsked) < gnugoGames) {
            ++engineAsked;
            double margin = 0;
            const std::string score = gnugo->FinalScore(game.Query);
            if (!score.empty()) {
                ++engineAnswered;
                margin = score == "0" ? 0 : std::atof(score.c_str() + 2) * (score[0] == 'B' ? 1 : -1);
                engineExact += margin == game.ResultMargin;
            }
        }
    }
    std::sort(ms.begin(), ms.end());
    const double n = games.empty() ? 1 : static_cast<double>(games.size());
    auto at = [&](double q) { return ms.empty() ? 0.0 : ms[static_cast<std::size_t>(q * (ms.size() - 1))]; };
    std::printf("counted games: %zu from %s\n", games.size(), GamesDir().string().c_str());
    std::printf("| what | final score exact | answered |\n");
    std::printf("| suggestion (%s) applied as clicks + our counting | %.1f %% | %d |\n",
                Cp949ToUtf8(estimator.Name()).c_str(), 100.0 * exact / n, answered);
    if (gnugo)
        std::printf("| GNU Go final_score (its own counting), first %d games | %.1f %% | %d |\n", engineAsked,
                    engineAsked ? 100.0 * engineExact / engineAsked : 0.0, engineAnswered);
    std::printf("time to suggestion: median %.0f ms, 90th percentile %.0f ms, max %.0f ms\n\n", at(0.5), at(0.9),
                at(1.0));
    std::fflush(stdout);
}

void Suggest(benchmark::State& state, DeadStoneEstimator& estimator)
{
    const auto& games = Games();
    if (games.empty()) {
        state.SkipWithError("no counted games");
        return;
    }
    std::size_t i = 0;
    std::vector<std::pair<int, int>> dead;
    for (auto _ : state)
        benchmark::DoNotOptimize(estimator.DeadStones(games[i++ % games.size()].Query, dead));
}

void BM_SuggestAnalysis(benchmark::State& state)
{
    TAnalysisDeadStones analysis;
    Suggest(state, analysis);
}
BENCHMARK(BM_SuggestAnalysis)->Unit(benchmark::kMillisecond);

void BM_SuggestGnuGo(benchmark::State& state)
{
    if (!GnuGoAvailable()) {
        state.SkipWithError("gnugo is not installed");
        return;
    }
    TGtpDeadStones gnugo(GnuGoCommand(kGnuGoLevel), kGnuGoTimeoutMs, "GNU Go");
    Suggest(state, gnugo);
}
BENCHMARK(BM_SuggestGnuGo)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    std::size_t limit = 0;
    std::size_t scored = static_cast<std::size_t>(-1);
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--games=", 8) == 0)
            limit = static_cast<std::size_t>(std::max(0, std::atoi(argv[i] + 8)));
        else if (std::strncmp(argv[i], "--final-score-games=", 20) == 0)
            scored = static_cast<std::size_t>(std::max(0, std::atoi(argv[i] + 20)));
        else
            rest.push_back(argv[i]);
    }
    Games(limit);
    if (GnuGoAvailable()) {
        TGtpDeadStones gnugo(GnuGoCommand(kGnuGoLevel), kGnuGoTimeoutMs, "GNU Go");
        // GNU Go's own count plays the game out first: it is given its time.
        TGtpDeadStones judge(GnuGoCommand(kGnuGoLevel), kFinalScoreTimeoutMs, "GNU Go");
        PrintFigures(gnugo, &judge, scored);
    }
    TAnalysisDeadStones analysis;
    PrintFigures(analysis, nullptr, 0);
    int count = static_cast<int>(rest.size());
    benchmark::Initialize(&count, rest.data());
    if (benchmark::ReportUnrecognizedArguments(count, rest.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
