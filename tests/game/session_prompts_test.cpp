#include <gtest/gtest.h>

#include <functional>

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "support/LinkedLobby.h"
#include "support/SessionDuo.h"

namespace zel::test {
namespace {

std::string CodeOfLast(const std::vector<std::string>& sent)
{
    return sent.empty() || sent.back().size() < 11 ? std::string() : sent.back().substr(8, 3);
}

// ---- colours of a request ----

TEST(SessionColours, RequestNamesThePlayersTheDialogSettled)
{
    struct Row {
        TGameSetModel::Colour colour;
        std::uint64_t seed;
    };
    using C = TGameSetModel::Colour;
    const Row rows[] = {{C::Black, 1}, {C::White, 1}, {C::White, 2}, {C::Auto, 1},
                        {C::Auto, 2},  {C::Auto, 3},  {C::Auto, 4},  {C::Auto, 5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.colour) * 100 + static_cast<int>(row.seed));
        SessionDuo duo;
        duo.a.dialogs.random = SeededRandom(row.seed);
        duo.a.dialogs.setup = [&row](TGameSetModel& m) { m.ColourClicked(row.colour); };
        duo.a.session.RequestGame("bob");
        duo.Run(1000);
        const TGameSetModel& settled = duo.a.dialogs.lastSet;
        if (row.colour != C::Auto) {
            EXPECT_EQ(settled.WhiteId, row.colour == C::White ? "alice" : "bob");
        }
        for (SessionSide* side : {&duo.a, &duo.b}) {
            ASSERT_TRUE(side->session.GameOpen());
            EXPECT_EQ(side->session.Header().BlackId, settled.BlackId);
            EXPECT_EQ(side->session.Header().WhiteId, settled.WhiteId);
        }
    }
}

TEST(SessionColours, ConfirmSettlesOnce)
{
    SeededRandom random(3);
    TGameSetModel m;
    m.BlackId = "alice";
    m.WhiteId = "bob";
    m.ColourClicked(TGameSetModel::Colour::White);
    m.Confirm(random);
    m.Confirm(random);
    EXPECT_TRUE(m.Confirmed());
    EXPECT_EQ(m.WhiteId, "alice");
}

TEST(SessionColours, DialogThatDidNotConfirmSendsNoRequest)
{
    // A settings dialog must confirm on "대국 신청"; one that does not
    // leaves the colours unsettled, and nothing goes out.
    class Unconfirming : public TGameDialogs {
    public:
        bool ShowGameSet(TGameSetModel&) override { return true; }
        bool ShowGameRequest(TGameRequestModel&) override { return true; }
    } dialogs;
    ManualClock clock(36000000);
    SeededRandom random(5);
    RecordingPrompts prompts;
    RecordingWindow window;
    RecordingLobby lobby;
    MemoryFileStore files;
    THelpList pending;
    TBBS2Zel session(TSessionServices{clock, random, prompts, window, lobby, dialogs, files, pending});
    std::vector<std::string> sent;
    session.MyId = "alice";
    session.OnSendGame = [&sent](const std::string& text) { sent.push_back(text); };
    session.RequestGame("bob");
    EXPECT_TRUE(sent.empty());
    EXPECT_FALSE(session.RequestPending());
    EXPECT_EQ(lobby.cancelled, 1);
}

// ---- answers given after the session moved on ----

// Alice (black) and Bob have played two moves; `ask` makes `asked` open
// `question`, and while it is open Alice leaves the room. The answer ("yes")
// must change nothing any more.
struct StaleRow {
    const char* question; // UTF-8
    bool bobAsked;
    std::function<void(SessionDuo&)> ask;
};

TEST(SessionPrompts, AnswerGivenAfterTheOpponentLeftDoesNothing)
{
    const StaleRow rows[] = {
        {"물림요청입니다!", true, [](SessionDuo& d) { d.a.session.Command(6); }},
        {"대국 종료 요청입니다.", true, [](SessionDuo& d) { d.a.session.Command(11); }},
        {"대국 중단 요청입니다.", true, [](SessionDuo& d) { d.a.session.Command(12); }},
        {"사석지정에 동의 하십니까?", true,
         [](SessionDuo& d) {
             d.a.session.Command(11);
             d.Run(1000); // Bob agrees to end; Alice marks and finishes
             d.a.session.BoardClick(16, 16);
             d.Run(400);
             d.a.session.Command(25);
         }},
        {"불계패를 선언하시겠습니까?", true,
         [](SessionDuo& d) {
             d.a.session.BoardClick(10, 10);
             d.Run(1000);
             d.b.session.Command(10);
         }},
    };
    for (const StaleRow& row : rows) {
        SCOPED_TRACE(row.question);
        SessionDuo duo;
        duo.StartGame();
        duo.a.session.BoardClick(4, 4);
        duo.Run(1000);
        duo.b.session.BoardClick(16, 16);
        duo.Run(1000);

        SessionSide& asked = row.bobAsked ? duo.b : duo.a;
        bool opened = false;
        std::size_t sent = 0, files = 0;
        int moves = 0, ended = 0;
        asked.prompts.whileOpen = [&, question = row.question](const std::string& text) {
            if (opened || text != Utf8ToCp949(question))
                return;
            opened = true;
            asked.session.ForcedStop("Alice", "alice");
            sent = asked.outbox.size();
            moves = asked.session.Board().MoveCount();
            files = asked.files.files.size();
            ended = asked.lobby.sessionsEnded;
        };
        row.ask(duo);
        duo.Run(1000);
        ASSERT_TRUE(opened);
        EXPECT_FALSE(asked.session.GameOpen());
        EXPECT_EQ(asked.outbox.size(), sent); // no answer, above all none without a game key
        EXPECT_EQ(asked.session.Board().MoveCount(), moves);
        EXPECT_EQ(asked.files.files.size(), files);
        EXPECT_EQ(asked.lobby.sessionsEnded, ended);
        EXPECT_EQ(asked.session.DeadMarkStage(), 0);
    }
}

TEST(SessionPrompts, ResultNoticeClosedAfterTheSessionEndedClosesNothingMore)
{
    SessionDuo duo;
    duo.StartGame();
    duo.a.session.BoardClick(4, 4);
    duo.Run(1000);
    int ended = -1;
    duo.a.prompts.whileOpen = [&](const std::string& text) {
        if (text.find(KS("님이 불계패를 인정했습니다!")) == std::string::npos)
            return;
        duo.a.session.ForcedStop("Bob", "bob");
        ended = duo.a.lobby.sessionsEnded;
    };
    duo.b.session.Command(10);
    duo.Run(1000);
    ASSERT_GE(ended, 0);
    EXPECT_EQ(duo.a.lobby.sessionsEnded, ended); // ended once, the lobby told once
    EXPECT_EQ(duo.a.session.PreviousKind(), kGameSession);
}

TEST(SessionPrompts, RequestAcceptedAfterAnotherSessionStartedIsNotAnswered)
{
    SessionDuo duo;
    // While Bob's request dialog is open, a game state of another game
    // reaches him and he starts watching it.
    duo.b.dialogs.whileOpen = [&duo] { duo.b.session.ReceiveChunk(">C<QQQ\\#BB\\#carol\\#dave\\#AAAA\\#>D<"); };
    duo.a.session.RequestGame("bob");
    duo.Run(1000);
    EXPECT_EQ(duo.b.session.Header().GameId, "QQQ");
    EXPECT_FALSE(duo.b.session.IsPlayer());
    EXPECT_TRUE(duo.b.outbox.empty());
    EXPECT_TRUE(duo.a.session.RequestPending());
    EXPECT_FALSE(duo.a.session.GameOpen());
}

TEST(SessionPrompts, ResumptionAnsweredAfterTheConnectionDroppedKeepsTheFile)
{
    SessionDuo duo;
    duo.StartGame();
    duo.a.session.BoardClick(4, 4);
    duo.Run(1000);
    duo.b.session.Command(12);
    duo.Run(2000);
    ASSERT_EQ(duo.a.files.files.count("alicebob.tmp"), 1u);
    const std::string state = duo.a.files.files.at("alicebob.tmp");
    const int started = duo.a.lobby.started;
    duo.a.prompts.whileOpen = [&duo](const std::string& text) {
        if (text == KS("중단대국을 이어두기 하시겠습니까?"))
            duo.a.session.ForcedStop(KS("본인"), "alice");
    };
    duo.a.session.RequestGame("bob");
    EXPECT_FALSE(duo.a.session.GameOpen());
    EXPECT_TRUE(duo.a.lobby.roomTexts.empty()); // no state broadcast
    EXPECT_EQ(duo.a.lobby.started, started);
    ASSERT_EQ(duo.a.files.files.count("alicebob.tmp"), 1u);
    EXPECT_EQ(duo.a.files.files.at("alicebob.tmp"), state);
    EXPECT_NE(CodeOfLast(duo.a.outbox), "GSR");
}

// ---- byo-yomi changes ----

TEST(SessionByoyomi, OnlyThePlayersOfTheOpenGameChangeIt)
{
    struct Row {
        const char* sender;
        bool applied;
    };
    for (Row row : {Row{"bob", true}, Row{"alice", true}, Row{"mallory", false}, Row{"", false}}) {
        SCOPED_TRACE(row.sender);
        SessionDuo duo;
        duo.StartGame();
        const TSideClock before = duo.a.session.Info().Side(kBlack);
        duo.a.session.ChangeByoyomi(row.sender, ">M<CIAB>T<");
        const TSideClock& after = duo.a.session.Info().Side(kBlack);
        EXPECT_EQ(after.PeriodLen, row.applied ? 60 : before.PeriodLen);
        EXPECT_EQ(after.Periods, row.applied ? 1 : before.Periods);
    }
    // Without an open game nobody changes anything.
    SessionDuo idle;
    idle.a.session.ChangeByoyomi("bob", ">M<CIAB>T<");
    EXPECT_NE(idle.a.session.Info().Side(kWhite).PeriodLen, 60);
}

TEST(SessionByoyomi, MarkerFromTheLobbyIsCheckedAgainstItsSender)
{
    // "me" (user 1) plays Alice (2); Mallory (3) is in the room too.
    ManualClock clock(36000000);
    SeededRandom random(9);
    RecordingPrompts prompts;
    RecordingWindow window;
    ScriptedDialogs dialogs;
    MemoryFileStore files;
    THelpList pending;
    LinkedLobby lobby(clock, random, "me", "Me");
    TBBS2Zel session(TSessionServices{clock, random, prompts, window, lobby.link, dialogs, files, pending});
    lobby.Attach(session);
    lobby.Enter(1, 5, {{1, "me", "Me", 20}, {2, "alice", "Alice", 20}, {3, "mallory", "Mallory", 20}});
    session.MyId = "me";
    session.OnGameData("KEYaliGSRalice\\#AAalice\\#me\\#AAAGBBEBEAF\\#a\\#m\\#B");
    for (int i = 1; i <= 5; ++i)
        session.Tick(clock.Now() + 200 * i);
    ASSERT_TRUE(session.GameOpen());
    ASSERT_EQ(session.Info().Side(kWhite).PeriodLen, 30);

    lobby.Feed(PrivateText(1, 3, ">M<CIAB>T<"));
    lobby.Feed(RoomText(23020, 3, ">M<CIAB>T<"));
    EXPECT_EQ(session.Info().Side(kWhite).PeriodLen, 30);
    EXPECT_EQ(session.Info().Side(kWhite).Periods, 5);
    lobby.Feed(RoomText(23020, 2, ">M<CIAB>T<"));
    EXPECT_EQ(session.Info().Side(kWhite).PeriodLen, 60);
    EXPECT_EQ(session.Info().Side(kBlack).Periods, 1);
}

} // namespace
} // namespace zel::test
