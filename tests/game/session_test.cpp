#include <gtest/gtest.h>

#include "support/SessionDuo.h"
#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"

namespace zel::test {
namespace {

// The code and payload of a sent text ("XA" + game + session + code + payload).
std::string CodeOf(const std::string& sent)
{
    return sent.size() >= 11 ? sent.substr(8, 3) : std::string();
}
std::string PayloadOf(const std::string& sent)
{
    return sent.size() > 11 ? sent.substr(11) : std::string();
}
TEST(Session, RequestAndAcceptanceStartTheGameOnBothSides)
{
    SessionDuo duo;
    duo.StartGame();
    for (SessionSide* side : {&duo.a, &duo.b}) {
        EXPECT_TRUE(side->session.GameOpen());
        EXPECT_TRUE(side->session.IsPlayer());
        EXPECT_EQ(side->session.Header().BlackId, "alice");
        EXPECT_EQ(side->session.Header().WhiteId, "bob");
    }
    EXPECT_EQ(duo.a.session.Header().GameId, duo.b.session.Header().GameId);
    EXPECT_FALSE(duo.a.session.RequestPending());
    EXPECT_TRUE(duo.a.session.CanAct());
    EXPECT_TRUE(duo.a.window.boardInput);
    EXPECT_FALSE(duo.b.window.boardInput);
    // The first letter of a game is "B".
    EXPECT_EQ(duo.a.outbox.front().back(), 'B');
}

TEST(Session, MoveTravelsWithDoubledCoordinatesAndClock)
{
    SessionDuo duo;
    duo.StartGame();
    duo.a.session.BoardClick(4, 16);
    ASSERT_EQ(CodeOf(duo.a.outbox.back()), "GPM");
    std::string p = PayloadOf(duo.a.outbox.back());
    EXPECT_EQ(p.substr(0, 7), "ABWEQQE"); // move 1, white to move, X Y Y X
    EXPECT_EQ(p.size(), 7u + 10u + 1u);
    duo.Run(1000);
    EXPECT_EQ(duo.b.session.Board().Colour(4, 16), kBlack);
    EXPECT_TRUE(duo.b.session.CanAct());
    EXPECT_FALSE(duo.a.session.CanAct());
}

TEST(Session, PassIsSentAsAAAA)
{
    SessionDuo duo;
    duo.StartGame();
    duo.a.session.Command(9);
    EXPECT_EQ(PayloadOf(duo.a.outbox.back()).substr(0, 7), "ABWAAAA");
    duo.Run(1000);
    EXPECT_EQ(duo.b.session.Board().MoveCount(), 1);
    EXPECT_EQ(duo.b.session.Board().ColourToMove(), kWhite);
}

TEST(Session, DuplicateMoveAppliedOnceAndReceiptStretchesResend)
{
    SessionDuo duo;
    duo.StartGame();
    duo.a.session.BoardClick(4, 4);
    std::string move = duo.a.outbox.back();
    EXPECT_EQ(duo.a.session.ResendTimeout(), TBBS2Zel::kBlackResendTimeout);
    duo.Run(1000);
    ASSERT_EQ(duo.b.session.Board().MoveCount(), 1);
    // Bob thinks; the same move arrives again (a resend).
    duo.b.session.OnGameData(SessionDuo::Handed(move));
    duo.Run(1000);
    EXPECT_EQ(duo.b.session.Board().MoveCount(), 1);
    EXPECT_EQ(CodeOf(duo.b.outbox.back()), "GPT");
    EXPECT_EQ(duo.a.session.ResendTimeout(), 2 * TBBS2Zel::kBlackResendTimeout);
    EXPECT_TRUE(duo.a.session.ResendArmed());
}

TEST(Session, UnansweredMoveIsResentWithTheSameLetter)
{
    SessionDuo duo;
    duo.StartGame();
    duo.b.session.MyId = "nobody"; // Bob's side stops answering
    duo.a.session.BoardClick(4, 4);
    std::string move = duo.a.outbox.back();
    std::size_t before = duo.a.outbox.size();
    duo.Run(59000);
    EXPECT_EQ(duo.a.outbox.size(), before);
    duo.Run(2000);
    ASSERT_GT(duo.a.outbox.size(), before);
    EXPECT_EQ(duo.a.outbox[before], move);
}

TEST(Session, MoveArrivingOnTheLocalPlayersTurnWaits)
{
    SessionDuo duo;
    duo.StartGame();
    duo.a.session.BoardClick(4, 4);
    duo.Run(1000);
    ASSERT_TRUE(duo.b.session.InputEnabled());
    // A stray message for Bob's game while Bob has the move stays queued.
    std::string game = duo.b.session.Header().GameId;
    duo.b.session.OnGameData(game + "zzzGPMACBDDDDZ");
    duo.b.session.Tick(duo.clock.Now() + 5000);
    EXPECT_EQ(duo.b.session.Queued(), 1);
    duo.b.session.BoardClick(16, 16);
    duo.Run(1000);
    EXPECT_EQ(duo.b.session.Queued(), 0);
}

TEST(Session, MismatchedOrStaleMovesAreNotApplied)
{
    struct Row {
        const char* name;
        std::string payload;
    };
    // Bob's move 2 after Alice's move 1 at D4, in every broken form.
    const Row rows[] = {
        {"X copies differ", "ACBQQQRA"}, {"Y copies differ", "ACBQPQQA"}, {"wrong number", "ADBQQQQA"},
        {"wrong colour", "ACWQQQQA"},    {"off the board", "ACBUUUUA"},   {"occupied point", "ACBEEEEA"},
        {"too short", "ACBQQ"},
    };
    for (const Row& row : rows) {
        SessionDuo duo;
        duo.StartGame();
        duo.a.session.BoardClick(4, 4);
        duo.Run(1000);
        std::string game = duo.a.session.Header().GameId;
        duo.a.session.OnGameData(game + duo.b.session.SessionId() + "GPM" + row.payload);
        duo.a.session.Tick(duo.clock.Now() + 1000);
        EXPECT_EQ(duo.a.session.Board().MoveCount(), 1) << row.name;
        EXPECT_FALSE(duo.a.session.CanAct()) << row.name;
    }
}

TEST(Session, LettersRunFromBToZAndThenA)
{
    SessionDuo duo;
    duo.StartGame();
    for (int i = 0; i < 25; ++i) {
        duo.a.session.Command(9);
        duo.Run(1000);
        duo.b.session.Command(9);
        duo.Run(1000);
    }
    std::string letters;
    for (const std::string& sent : duo.a.outbox)
        if (CodeOf(sent) == "GSR" || CodeOf(sent) == "GPM")
            letters += sent.back();
    EXPECT_EQ(letters, "BCDEFGHIJKLMNOPQRSTUVWXYZA");
}

TEST(Session, RecoveryBringsBothBoardsToTheShorterSequence)
{
    struct Row {
        int requesterCount;
        int expected;
    };
    // Bob has 4 moves; "GPR" above the local count is answered with it, one
    // below makes Bob undo to it.
    for (Row row : {Row{6, 4}, Row{2, 2}, Row{4, 4}}) {
        SessionDuo duo;
        duo.StartGame();
        for (int i = 0; i < 4; ++i) {
            SessionSide& mover = i % 2 == 0 ? duo.a : duo.b;
            mover.session.BoardClick(3 + i, 3);
            duo.Run(1000);
        }
        ASSERT_EQ(duo.b.session.Board().MoveCount(), 4);
        std::string game = duo.b.session.Header().GameId;
        duo.b.session.OnGameData(game + duo.a.session.SessionId() + "GPR" + NumToCode2(row.requesterCount) + "Q");
        duo.b.session.Tick(duo.clock.Now() + 1000);
        EXPECT_EQ(duo.b.session.Board().MoveCount(), row.expected) << row.requesterCount;
        ASSERT_EQ(CodeOf(duo.b.outbox.back()), "GPS");
        EXPECT_EQ(PayloadOf(duo.b.outbox.back()).substr(0, 2), NumToCode2(row.expected));
    }
}

TEST(Session, UndoNeedsTwoMovesAndTakesBackAPair)
{
    SessionDuo duo;
    duo.StartGame();
    duo.a.session.BoardClick(4, 4);
    duo.Run(1000);
    std::size_t before = duo.b.outbox.size();
    duo.b.session.Command(6); // one move on the board: nothing is sent
    EXPECT_EQ(duo.b.outbox.size(), before);
    duo.b.session.BoardClick(16, 16);
    duo.Run(1000);
    duo.a.session.Command(6);
    EXPECT_EQ(CodeOf(duo.a.outbox.back()), "GRR");
    duo.Run(1000);
    EXPECT_EQ(duo.b.session.Board().MoveCount(), 0);
    EXPECT_EQ(duo.a.session.Board().MoveCount(), 0);
    // The requester can play again at once.
    EXPECT_TRUE(duo.a.session.CanAct());
    EXPECT_TRUE(duo.a.window.boardInput);
}

TEST(Session, ResignationEndsBothSidesWithTheSameRecord)
{
    SessionDuo duo;
    duo.StartGame();
    duo.a.session.BoardClick(4, 4);
    duo.Run(1000);
    duo.b.session.Command(10);
    duo.Run(2000);
    for (SessionSide* side : {&duo.a, &duo.b}) {
        EXPECT_FALSE(side->session.GameOpen());
        EXPECT_EQ(side->session.Info().PResult, KS("흑 불계승"));
        ASSERT_EQ(side->window.records.size(), 1u);
    }
    const std::string name = duo.a.session.LastRecordName();
    EXPECT_EQ(duo.a.files.files.at(name), duo.b.files.files.at(name));
    // Fewer than 30 moves: saved but not counted.
    EXPECT_TRUE(duo.a.lobby.results.empty());
}

TEST(Session, EndRequestMarkingAndCountingAgreeOnBothSides)
{
    SessionDuo duo;
    duo.StartGame();
    // A small black wall on column 10 and a white wall on column 12.
    for (int row = 1; row <= 19; ++row) {
        duo.a.session.BoardClick(10, row);
        duo.Run(1000);
        duo.b.session.BoardClick(12, row);
        duo.Run(1000);
    }
    duo.a.session.Command(11);
    duo.Run(1000);
    EXPECT_EQ(duo.a.session.DeadMarkStage(), 1);
    EXPECT_EQ(duo.a.session.DeadMarker(), "alice");
    duo.a.session.Command(25);
    duo.Run(1000);
    EXPECT_EQ(duo.b.session.DeadMarkStage(), 2);
    duo.b.session.Command(25);
    duo.Run(2000);
    for (SessionSide* side : {&duo.a, &duo.b}) {
        EXPECT_FALSE(side->session.GameOpen());
        EXPECT_EQ(side->session.Info().PResult, duo.a.session.Info().PResult);
    }
    // 9 x 19 black points against 7 x 19 white points and 6.5 komi.
    EXPECT_EQ(duo.a.session.Info().PResult, KS("흑 31.5 집 승! >> 흑(171):백(133)"));
    EXPECT_EQ(duo.a.lobby.results.size(), 1u);
    const std::string name = duo.a.session.LastRecordName();
    EXPECT_EQ(duo.a.files.files.at(name), duo.b.files.files.at(name));
}

TEST(Session, AdjournmentWritesTheStateAndResumptionRestoresIt)
{
    SessionDuo duo;
    duo.StartGame();
    for (int i = 0; i < 5; ++i) {
        SessionSide& mover = i % 2 == 0 ? duo.a : duo.b;
        mover.session.BoardClick(3 + i, 5);
        duo.Run(1000);
    }
    duo.b.session.Command(12);
    duo.Run(2000);
    EXPECT_FALSE(duo.a.session.GameOpen());
    EXPECT_FALSE(duo.b.session.GameOpen());
    ASSERT_EQ(duo.a.files.files.count("alicebob.tmp"), 1u);
    EXPECT_EQ(duo.a.files.files.at("alicebob.tmp"), duo.b.files.files.at("alicebob.tmp"));

    // Alice asks again: her file is found and resumed, Bob joins from the
    // room broadcast.
    duo.a.session.RequestGame("bob");
    EXPECT_EQ(duo.a.files.files.count("alicebob.tmp"), 0u);
    ASSERT_TRUE(duo.a.session.GameOpen());
    EXPECT_EQ(duo.a.session.Board().MoveCount(), 5);
    ASSERT_FALSE(duo.a.lobby.roomTexts.empty());
    for (const std::string& text : duo.a.lobby.roomTexts)
        duo.b.session.ReceiveChunk(text);
    ASSERT_TRUE(duo.b.session.GameOpen());
    EXPECT_TRUE(duo.b.session.IsPlayer());
    EXPECT_EQ(duo.b.session.Board().MoveCount(), 5);
    // Both windows show every replayed stone again.
    for (SessionSide* side : {&duo.a, &duo.b}) {
        EXPECT_EQ(side->window.StonesShown(kBlack), 3);
        EXPECT_EQ(side->window.StonesShown(kWhite), 2);
        EXPECT_EQ(side->window.marks[5][7], kMarkLastMove);
        EXPECT_TRUE(side->session.Info().TmEnabled());
    }
    EXPECT_TRUE(duo.b.session.CanAct());
    duo.b.session.BoardClick(15, 15);
    duo.Run(1000);
    EXPECT_EQ(duo.a.session.Board().MoveCount(), 6);
}

TEST(Session, WatcherJoinsFromTheStateAndSeesTheWholeBoard)
{
    SessionDuo duo;
    duo.a.dialogs.setup = [](TGameSetModel& m) {
        m.ColourClicked(TGameSetModel::Colour::Black);
        m.HandicapChanged(3);
    };
    duo.a.session.RequestGame("bob");
    duo.Run(1000);
    for (int i = 0; i < 4; ++i) {
        SessionSide& mover = i % 2 == 0 ? duo.b : duo.a; // white first with handicap
        mover.session.BoardClick(3 + i, 10);
        duo.Run(1000);
    }
    ASSERT_EQ(duo.a.session.Board().MoveCount(), 4);

    SessionSide carol(duo.clock, duo.random, "carol");
    duo.a.session.SendGameState("carol");
    for (const auto& [to, text] : duo.a.lobby.privates)
        if (to == "carol")
            carol.session.ReceiveChunk(text);
    ASSERT_TRUE(carol.session.GameOpen());
    EXPECT_FALSE(carol.session.IsPlayer());
    EXPECT_EQ(carol.window.layout, 2);
    EXPECT_EQ(carol.window.stones, duo.a.window.stones);
    EXPECT_EQ(carol.window.StonesShown(kBlack), 3 + 2);
    EXPECT_EQ(carol.window.StonesShown(kWhite), 2);
    EXPECT_TRUE(carol.session.Info().TmEnabled());
    EXPECT_TRUE(carol.session.Info().Running());
}

TEST(Session, ForcedStopSavesOnceAndEndsEvenWithoutTheOpponent)
{
    SessionDuo duo;
    duo.StartGame();
    duo.a.session.BoardClick(4, 4);
    duo.Run(1000);
    EXPECT_TRUE(duo.a.session.ForcedStop(KS("본인"), "alice"));
    EXPECT_FALSE(duo.a.session.GameOpen());
    EXPECT_EQ(duo.a.files.files.count("alicebob.tmp"), 1u);
    EXPECT_EQ(duo.a.lobby.gameOvers, 1);
    // Bob sees Alice leave: his state file is written only when missing.
    duo.b.files.files["alicebob.tmp"] = "older";
    EXPECT_TRUE(duo.b.session.ForcedStop("Alice", "alice"));
    EXPECT_EQ(duo.b.files.files.at("alicebob.tmp"), "older");
    EXPECT_FALSE(duo.b.session.ForcedStop("Alice", "alice"));
}

TEST(Session, ReceiveQueueDropsTheNewestWhenFull)
{
    SessionDuo duo;
    TBBS2Zel& s = duo.a.session;
    for (int i = 0; i < 320; ++i)
        s.OnGameData("ABCxyzGPN" + std::to_string(i));
    EXPECT_EQ(s.Queued(), 299);
    EXPECT_EQ(s.Dropped(), 21);
    // The oldest message is still the first one handled.
    for (int i = 0; i < 400; ++i)
        s.Tick(duo.clock.Now() + 200 * (i + 1));
    EXPECT_EQ(s.Queued(), 0);
}

TEST(Session, GameRequestTimesOutAfterThirtySeconds)
{
    SessionDuo duo;
    // Bob has left the room: neither the request nor its copies are answered.
    duo.b.lobby.inRoom = false;
    duo.a.session.RequestGame("bob");
    EXPECT_TRUE(duo.a.session.RequestPending());
    duo.Run(29000);
    EXPECT_TRUE(duo.a.session.RequestPending());
    duo.Run(2000);
    EXPECT_FALSE(duo.a.session.RequestPending());
    EXPECT_EQ(duo.a.prompts.notices.back().first, KS("상대방이 응답하지 않습니다."));
}

TEST(Session, RefusedRequestReportsAndLeavesBothIdle)
{
    SessionDuo duo;
    duo.b.dialogs.accept = false;
    duo.a.session.RequestGame("bob");
    duo.Run(1000);
    EXPECT_FALSE(duo.a.session.RequestPending());
    EXPECT_FALSE(duo.a.session.GameOpen());
    EXPECT_FALSE(duo.b.session.GameOpen());
    EXPECT_EQ(duo.a.lobby.refused, 1);
}

TEST(Session, HostileRequestFieldsAreCheckedBeforeUse)
{
    SessionDuo duo;
    TBBS2Zel& s = duo.b.session;
    // Codes that are not letters: dropped whole, nothing answered.
    s.OnGameData("KEYxyzGSRmallory\\#AAbob\\#mallory\\#A??GBEBEAF\\#b\\#w\\#B");
    duo.Run(500);
    EXPECT_TRUE(duo.b.outbox.empty());
    EXPECT_TRUE(s.Header().GameId.empty());
    // Over-long ids are cut to 30 bytes; a path in an id never names a file.
    std::string longId(80, 'x');
    s.OnGameData("KEZxyzGSR" + longId + "\\#AA../../bob\\#" + longId + "\\#AAAGBBEBEAF\\#b\\#w\\#B");
    duo.Run(500);
    EXPECT_EQ(s.Header().WhiteId.size(), 30u);
    EXPECT_TRUE(duo.b.outbox.empty()); // not addressed to "bob"
}

} // namespace
} // namespace zel::test
