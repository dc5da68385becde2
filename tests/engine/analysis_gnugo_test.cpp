// Measures the analysis against GNU Go on finished games: which stones are
// dead and whose the territory is. The rates are printed, not demanded; only
// a gross disagreement fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "core/engine/PositionAnalysis.h"
#include "support/GtpEngine.h"

namespace zel {
namespace {

using test::GtpEngine;

// Index into a position string of a GTP vertex such as "Q16"; -1 if none.
int VertexIndex(const std::string& v)
{
    static const std::string letters = "ABCDEFGHJKLMNOPQRST";
    if (v.size() < 2)
        return -1;
    const std::size_t x = letters.find(v[0]);
    const int n = std::atoi(v.c_str() + 1);
    if (x == std::string::npos || n < 1 || n > 19)
        return -1;
    return (19 - n) * 19 + static_cast<int>(x);
}

std::set<int> Vertices(const std::string& reply)
{
    std::set<int> out;
    std::istringstream in(reply);
    std::string v;
    while (in >> v)
        if (VertexIndex(v) >= 0)
            out.insert(VertexIndex(v));
    return out;
}

TEST(AnalysisAgainstGnuGo, FinishedGames)
{
    GtpEngine gtp;
    if (!gtp.Running())
        GTEST_SKIP() << "GNU Go is not installed";
    const std::string data = ZEL_TEST_DATA;
    // Games that GNU Go scores within a second or so (it reads for minutes
    // on some unsettled positions).
    const char* const games[] = {"record/gnugo-even-1.sgf", "record/gnugo-even-2.sgf", "gnugo/selfplay-003.sgf",
                                 "gnugo/selfplay-004.sgf",  "gnugo/selfplay-006.sgf",  "gnugo/selfplay-007.sgf",
                                 "gnugo/selfplay-008.sgf",  "gnugo/selfplay-009.sgf"};
    int stones = 0, sameStatus = 0, theirDead = 0, bothDead = 0, ourDead = 0;
    int territory = 0, sameOwner = 0;
    for (const char* game : games) {
        bool ok = false;
        const std::string toMove = gtp.Ask("loadsgf " + data + "/" + game, &ok);
        ASSERT_TRUE(ok) << game;
        gtp.Queue("list_stones black");
        gtp.Queue("list_stones white");
        gtp.Queue("final_status_list dead");
        gtp.Queue("final_status_list black_territory");
        gtp.Queue("final_status_list white_territory");
        gtp.Flush();
        const std::set<int> black = Vertices(gtp.Reply()), white = Vertices(gtp.Reply());
        const std::set<int> dead = Vertices(gtp.Reply());
        const std::set<int> blackArea = Vertices(gtp.Reply()), whiteArea = Vertices(gtp.Reply());

        std::string position(361, '-');
        for (int i : black)
            position[static_cast<std::size_t>(i)] = 'B';
        for (int i : white)
            position[static_cast<std::size_t>(i)] = 'W';
        auto analysis = std::make_unique<TPositionAnalysis>();
        analysis->ResetAnalysis();
        ASSERT_TRUE(analysis->AnalysePosition(position, toMove == "white" ? 'W' : 'B'));

        int gameStones = 0, gameSame = 0;
        for (int i = 0; i < 361; ++i) {
            if (position[static_cast<std::size_t>(i)] == '-')
                continue;
            const bool ours = analysis->IsDead(i / 19 + 1, i % 19 + 1), theirs = dead.count(i) > 0;
            ++gameStones;
            gameSame += ours == theirs ? 1 : 0;
            theirDead += theirs ? 1 : 0;
            ourDead += ours ? 1 : 0;
            bothDead += ours && theirs ? 1 : 0;
        }
        stones += gameStones;
        sameStatus += gameSame;
        for (const auto& [area, sign] : {std::pair{&blackArea, 1}, std::pair{&whiteArea, -1}})
            for (int i : *area) {
                ++territory;
                sameOwner += sign * analysis->AnalysisResult()[static_cast<std::size_t>(i)] > 0 ? 1 : 0;
            }
        std::printf("%-24s %3d stones, status agrees on %3d; GNU Go dead %zu\n", game, gameStones, gameSame,
                    dead.size());
    }
    const double statusRate = 100.0 * sameStatus / stones;
    const double ownerRate = territory ? 100.0 * sameOwner / territory : 100.0;
    std::printf("stone status agrees on %d of %d stones (%.1f%%); GNU Go's dead %d, ours %d, both %d\n", sameStatus,
                stones, statusRate, theirDead, ourDead, bothDead);
    std::printf("territory: our sign agrees on %d of %d points GNU Go gives a side (%.1f%%)\n", sameOwner, territory,
                ownerRate);
    RecordProperty("status_agreement_percent", static_cast<int>(statusRate));
    RecordProperty("territory_agreement_percent", static_cast<int>(ownerRate));
    EXPECT_GT(statusRate, 75.0);
    EXPECT_GT(ownerRate, 60.0);
}

} // namespace
} // namespace zel
