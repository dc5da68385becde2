#include <gtest/gtest.h>

#include <algorithm>

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "support/SessionDuo.h"

namespace zel::test {
namespace {

std::string CodeOf(const std::string& sent)
{
    return sent.size() >= 11 ? sent.substr(8, 3) : std::string();
}

TEST(SessionEdges, SameTermsAskedAgainAfterARefusalAreAnswered)
{
    SessionDuo duo;
    duo.a.dialogs.setup = [](TGameSetModel& m) { m.ColourClicked(TGameSetModel::Colour::Black); };
    duo.b.dialogs.accept = false;
    duo.a.session.RequestGame("bob");
    duo.Run(1000);
    ASSERT_EQ(duo.a.lobby.refused, 1);
    duo.b.dialogs.accept = true;
    duo.a.session.RequestGame("bob");
    duo.Run(1000);
    EXPECT_TRUE(duo.a.session.GameOpen());
    EXPECT_TRUE(duo.b.session.GameOpen());
}

TEST(SessionEdges, ReceiptsStretchTheResendTimeUpToTheLimit)
{
    SessionDuo duo;
    duo.StartGame();
    duo.a.session.BoardClick(4, 4);
    duo.Run(1000);
    duo.b.session.BoardClick(16, 16); // white stores its move: 30 s
    std::string game = duo.b.session.Header().GameId;
    ASSERT_EQ(duo.b.session.ResendTimeout(), TBBS2Zel::kResendTimeout);
    std::vector<std::int32_t> seen;
    for (int i = 0; i < 4; ++i) {
        duo.b.session.OnGameData(game + duo.a.session.SessionId() + "GPT" + static_cast<char>('C' + i));
        duo.b.session.Tick(duo.clock.Now() + 200 * (i + 1));
        seen.push_back(duo.b.session.ResendTimeout());
    }
    EXPECT_EQ(seen, (std::vector<std::int32_t>{60000, 120000, 120000, 120000}));
}

TEST(SessionEdges, ReceiptWhileDisarmedRunsOneEmptyResend)
{
    SessionDuo duo;
    duo.a.dialogs.setup = [](TGameSetModel& m) { m.ColourClicked(TGameSetModel::Colour::Black); };
    duo.b.dialogs.accept = false;
    duo.a.session.RequestGame("bob");
    duo.Run(1000);
    ASSERT_FALSE(duo.a.session.ResendArmed());
    std::string game = duo.a.session.Header().GameId;
    duo.a.session.OnGameData(game + duo.b.session.SessionId() + "GPTZ");
    duo.a.session.Tick(duo.clock.Now() + 200);
    EXPECT_TRUE(duo.a.session.ResendArmed());
    EXPECT_EQ(duo.a.session.ResendTimeout(), 0);
    std::size_t before = duo.a.outbox.size();
    duo.a.session.Tick(duo.clock.Now() + 400);
    EXPECT_FALSE(duo.a.session.ResendArmed());
    EXPECT_EQ(duo.a.outbox.size(), before);
}

TEST(SessionEdges, ResendWaitsAcrossMidnight)
{
    SessionDuo duo(kDayMs - 40000);
    duo.StartGame();
    duo.b.session.MyId = "nobody"; // no answers
    duo.a.session.BoardClick(4, 4);
    std::size_t before = duo.a.outbox.size();
    duo.Run(59000);
    EXPECT_LT(duo.clock.Now(), 60000);
    EXPECT_EQ(duo.a.outbox.size(), before);
    duo.Run(2000);
    EXPECT_GT(duo.a.outbox.size(), before);
}

TEST(SessionEdges, ObserverBehindAsksBlackOnceForTheMissingMoves)
{
    SessionDuo duo;
    SessionSide carol(duo.clock, duo.random, "carol");
    duo.a.dialogs.setup = [](TGameSetModel& m) { m.ColourClicked(TGameSetModel::Colour::Black); };
    duo.a.session.RequestGame("bob");
    carol.session.OnGameData(SessionDuo::Handed(duo.a.outbox.back()));
    duo.Run(1000);
    for (const std::string& sent : duo.b.outbox)
        carol.session.OnGameData(SessionDuo::Handed(sent));
    for (int i = 1; i <= 10; ++i)
        carol.session.Tick(duo.clock.Now() + 200 * i);
    ASSERT_TRUE(carol.session.GameOpen());
    EXPECT_FALSE(carol.session.IsPlayer());
    EXPECT_EQ(carol.window.layout, 2);
    std::string game = carol.session.Header().GameId;
    // Move 3 while carol has none: one catch-up request to black.
    carol.session.OnGameData(game + duo.a.session.SessionId() + "GPMADWDDDDB");
    for (int i = 11; i <= 20; ++i)
        carol.session.Tick(duo.clock.Now() + 200 * i);
    ASSERT_EQ(carol.lobby.privates.size(), 1u);
    EXPECT_EQ(carol.lobby.privates[0].first, "alice");
    EXPECT_EQ(carol.lobby.privates[0].second, ">M<AAcarol\\#>D<");
    EXPECT_EQ(carol.session.Board().MoveCount(), 0);
}

TEST(SessionEdges, TerminalLinesReachTheGameChatOnlyWhileAGameIsOpen)
{
    SessionDuo duo;
    duo.a.session.FeedTerminalLine("before");
    duo.StartGame();
    duo.a.session.FeedTerminalLine("during");
    EXPECT_EQ(std::count(duo.a.window.chat.begin(), duo.a.window.chat.end(), "before"), 0);
    EXPECT_EQ(std::count(duo.a.window.chat.begin(), duo.a.window.chat.end(), "during"), 1);
}

TEST(SessionEdges, CommentaryReachesTheOtherSideUnderTheGameKey)
{
    SessionDuo duo;
    duo.StartGame();
    const std::string game = duo.a.session.Header().GameId;
    ASSERT_EQ(game.size(), 3u);
    // Both windows learn the key their pending commentary is kept under.
    EXPECT_EQ(duo.a.window.gameKey, game);
    EXPECT_EQ(duo.b.window.gameKey, game);
    duo.a.session.BoardClick(4, 4);
    duo.Run(1000);

    const std::string body = "ABAC" + std::string("DDEE") + "\\#\\#" + KS("좋은 수") + "\\!:: bob";
    duo.b.session.GiboEvent(1, body);
    duo.Run(1000);
    EXPECT_EQ(duo.a.window.commentaries, std::vector<std::string>{body});

    // A body that would split the record, or one for another game, is not shown.
    const std::string from = game + duo.b.session.SessionId();
    duo.a.session.OnGameData(from + "GPVABAA\r\nPMDD");
    duo.a.session.OnGameData("QQQ" + duo.b.session.SessionId() + "GPVABAA\\#");
    duo.Run(1000);
    EXPECT_EQ(duo.a.window.commentaries.size(), 1u);
}

TEST(SessionEdges, TimeLossEndsBothSidesWithTheSameRecord)
{
    SessionDuo duo;
    duo.a.dialogs.setup = [](TGameSetModel& m) {
        m.ColourClicked(TGameSetModel::Colour::Black);
        m.KBase = 1;
        m.KSec = 10;
        m.KCount = 1;
    };
    duo.a.session.RequestGame("bob");
    duo.Run(1000);
    duo.a.session.BoardClick(4, 4);
    duo.Run(1000);
    // Bob sleeps through his minute and his one period.
    duo.Run(60000 + 11000 + 1000);
    for (SessionSide* side : {&duo.a, &duo.b}) {
        EXPECT_FALSE(side->session.GameOpen());
        EXPECT_EQ(side->session.Info().PResult, KS("흑 시간승"));
    }
    EXPECT_EQ(duo.b.prompts.alerts.back(), KS("시간패 입니다."));
    const std::string name = duo.a.session.LastRecordName();
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(duo.a.files.files.at(name), duo.b.files.files.at(name));
}

TEST(SessionEdges, ByoyomiNoticesAndCountdownReachThePlayer)
{
    SessionDuo duo;
    duo.a.dialogs.setup = [](TGameSetModel& m) {
        m.ColourClicked(TGameSetModel::Colour::Black);
        m.KBase = 1;
        m.KSec = 30;
        m.KCount = 3;
    };
    duo.a.session.RequestGame("bob");
    duo.Run(1000);
    duo.Run(65000); // Alice's main time runs out: into byo-yomi
    bool periodsNotice = false;
    for (const auto& [text, ms] : duo.a.prompts.notices)
        periodsNotice = periodsNotice || text == "30" + KS(" 초 초읽기 ") + "3" + KS(" 번 남았습니다.");
    EXPECT_TRUE(periodsNotice);
    ASSERT_FALSE(duo.a.window.countdown.empty());
    EXPECT_EQ(duo.a.window.countdown.front(), 30);
    EXPECT_TRUE(duo.b.window.countdown.empty() || duo.b.window.countdown.front() == 30);
}

TEST(SessionEdges, MarkingRefusedReturnsTheTurnToMark)
{
    SessionDuo duo;
    duo.StartGame();
    duo.a.session.BoardClick(4, 4);
    duo.Run(1000);
    duo.b.session.BoardClick(16, 16);
    duo.Run(1000);
    duo.a.session.Command(11);
    duo.Run(1000);
    duo.a.session.BoardClick(16, 16); // marks the white stone dead
    duo.Run(500);
    duo.b.prompts.confirmAnswer = false;
    duo.a.session.Command(25);
    duo.Run(1000);
    EXPECT_EQ(CodeOf(duo.b.outbox.back()), "GDC");
    EXPECT_EQ(duo.a.session.DeadMarker(), "alice");
    EXPECT_EQ(duo.a.session.Board().Mark(16, 16), duo.b.session.Board().Mark(16, 16));
    EXPECT_EQ(duo.b.session.Board().Colour(16, 16), kWhite);
    // Clicks of the player who is not marking change nothing.
    duo.b.session.BoardClick(4, 4);
    EXPECT_EQ(duo.b.session.Board().Mark(4, 4), duo.a.session.Board().Mark(4, 4));
}

} // namespace
} // namespace zel::test

namespace zel::test {
namespace {

TEST(SessionEdges, StateFileNamesFromTheNetworkStayInsideTheRecordDirectory)
{
    SessionDuo duo;
    TBBS2Zel& s = duo.b.session;
    s.OnGameData("KEYmalGSRmal\\#AA../../x\\#bob\\#AAAGBBEBEAF\\#b\\#w\\#B");
    duo.Run(500);
    ASSERT_TRUE(s.GameOpen());
    EXPECT_TRUE(s.ForcedStop("mal", "../../x"));
    EXPECT_FALSE(s.GameOpen());
    EXPECT_TRUE(duo.b.files.files.empty());
    ASSERT_FALSE(duo.b.prompts.notices.empty());
}

} // namespace
} // namespace zel::test
