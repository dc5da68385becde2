#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/base/Cp949.h"
#include "support/SessionDuo.h"

namespace zel::test {
namespace {

std::string CodeOf(const std::string& sent)
{
    return sent.size() >= 11 ? sent.substr(8, 3) : std::string();
}

// Two sessions whose link loses the texts `lose` picks; the game-state
// broadcasts of the room go from one side's lobby to the other's session.
class LossyDuo : public SessionDuo {
public:
    explicit LossyDuo(bool mends)
    {
        a.session.Mends = mends;
        b.session.Mends = mends;
    }
    void Run(std::int32_t ms, std::int32_t step = 50)
    {
        for (std::int32_t t = 0; t < ms; t += step) {
            clock.Set((clock.Now() + step) % kDayMs);
            a.session.Tick(clock.Now());
            b.session.Tick(clock.Now());
            Pass(a, b);
            Pass(b, a);
        }
    }
    // Alice (black) and Bob (white) each play `pairs` stones.
    void PlayPairs(int pairs)
    {
        for (int i = 0; i < pairs; ++i) {
            a.session.BoardClick(3 + i, 4);
            Run(1000);
            b.session.BoardClick(3 + i, 16);
            Run(1000);
        }
    }
    bool BothClosedAlike() const
    {
        const std::string& name = a.session.LastRecordName();
        return !a.session.GameOpen() && !b.session.GameOpen() && !name.empty() && name == b.session.LastRecordName() &&
               a.files.files.count(name) && b.files.files.count(name) &&
               a.files.files.at(name) == b.files.files.at(name) && a.session.Info().PResult == b.session.Info().PResult;
    }
    // Picks texts lost on the way: the sender's side and what it sent.
    std::function<bool(const SessionSide& from, const std::string& sent)> lose;
    std::size_t roomTextsPassed = 0;

private:
    void Pass(SessionSide& from, SessionSide& to)
    {
        while (from.delivered < from.outbox.size()) {
            const std::string& sent = from.outbox[from.delivered++];
            if (!lose || !lose(from, sent))
                to.session.OnGameData(Handed(sent));
        }
        if (&from != &a)
            return;
        for (; roomTextsPassed < a.lobby.roomTexts.size(); ++roomTextsPassed) {
            const std::string& text = a.lobby.roomTexts[roomTextsPassed];
            if (!lose || !lose(from, text))
                b.session.ReceiveChunk(text);
        }
    }
};

// Loses the first `count` texts of `code` that `sender` sends.
std::function<bool(const SessionSide&, const std::string&)> LoseFirst(const SessionSide& sender,
                                                                      const std::string& code, int count = 1)
{
    auto left = std::make_shared<int>(count);
    return [&sender, code, left](const SessionSide& from, const std::string& sent) {
        if (*left == 0 || &from != &sender || CodeOf(sent) != code)
            return false;
        --*left;
        return true;
    };
}

// Each row loses one handshake message once; with the mends the game still
// ends alike on both sides, as first written it hangs.
struct LostRow {
    const char* what;
    std::function<void(LossyDuo&)> play;
    std::function<bool(const LossyDuo&)> ended;
};

void EndRequestAndMarking(LossyDuo& duo)
{
    duo.PlayPairs(2);
    duo.a.session.Command(11); // "계가 요청": Bob accepts, Alice marks
    duo.Run(1000);
    duo.a.session.Command(25); // Alice's marking done: Bob agrees and marks
    duo.Run(1000);
    duo.b.session.Command(25); // Bob's marking done: Alice agrees, both count
    duo.Run(200000);
}

const LostRow kLostRows[] = {
    {"acceptance when the accepter moves first",
     [](LossyDuo& duo) {
         duo.a.dialogs.setup = [](TGameSetModel& m) { m.ColourClicked(TGameSetModel::Colour::White); };
         duo.lose = LoseFirst(duo.b, "GSA");
         duo.a.session.RequestGame("bob");
         duo.Run(1000);
         duo.b.session.BoardClick(4, 4); // Bob is black
         duo.Run(90000);
     },
     [](const LossyDuo& duo) {
         return duo.a.session.GameOpen() && duo.a.session.Board().MoveCount() == 1 &&
                duo.a.session.Board().GameText() == duo.b.session.Board().GameText();
     }},
    {"first agreement on the dead stones",
     [](LossyDuo& duo) {
         duo.StartGame();
         duo.lose = LoseFirst(duo.b, "GDA");
         EndRequestAndMarking(duo);
     },
     [](const LossyDuo& duo) { return duo.BothClosedAlike(); }},
    {"second agreement on the dead stones",
     [](LossyDuo& duo) {
         duo.StartGame();
         duo.lose = LoseFirst(duo.a, "GDA");
         EndRequestAndMarking(duo);
     },
     [](const LossyDuo& duo) { return duo.BothClosedAlike(); }},
    {"both copies of a resignation",
     [](LossyDuo& duo) {
         duo.StartGame();
         duo.PlayPairs(2);
         duo.lose = LoseFirst(duo.a, "GGR", 2);
         duo.a.session.Command(10);
         duo.Run(200000);
     },
     [](const LossyDuo& duo) { return duo.BothClosedAlike() && duo.b.session.Info().PResult == KS("백 불계승"); }},
    {"acceptance of an adjournment",
     [](LossyDuo& duo) {
         duo.StartGame();
         duo.PlayPairs(2);
         duo.lose = LoseFirst(duo.b, "GCA");
         duo.a.session.Command(12);
         duo.Run(200000);
     },
     [](const LossyDuo& duo) {
         return !duo.a.session.GameOpen() && !duo.b.session.GameOpen() && duo.a.files.files.count("alicebob.tmp") &&
                duo.a.files.files.at("alicebob.tmp") == duo.b.files.files.at("alicebob.tmp");
     }},
    {"game state after a resumption",
     [](LossyDuo& duo) {
         duo.StartGame();
         duo.PlayPairs(2);
         duo.a.session.Command(12);
         duo.Run(2000);
         duo.roomTextsPassed = duo.a.lobby.roomTexts.size();
         const std::size_t firstBroadcast = duo.roomTextsPassed;
         duo.lose = [&duo, firstBroadcast](const SessionSide&, const std::string& sent) {
             return sent.find(">C<") != std::string::npos && duo.roomTextsPassed == firstBroadcast;
         };
         duo.a.session.RequestGame("bob"); // resumes Alice's file; she is to move
         duo.Run(60000);
         duo.a.session.BoardClick(10, 10);
         duo.Run(90000);
     },
     [](const LossyDuo& duo) {
         return duo.b.session.GameOpen() && duo.b.session.Board().MoveCount() == 5 &&
                duo.a.session.Board().GameText() == duo.b.session.Board().GameText();
     }},
};

TEST(SessionMends, LostHandshakeMessagesNoLongerHangTheGame)
{
    for (const LostRow& row : kLostRows) {
        for (bool mends : {true, false}) {
            LossyDuo duo(mends);
            row.play(duo);
            EXPECT_EQ(row.ended(duo), mends) << row.what << (mends ? "" : " (as first written)");
        }
    }
}

// Alice takes back her third move; a late copy of it must not land on Bob's
// board again, where it would fit the count and the colour to move.
TEST(SessionMends, LateCopyOfAnUndoneMoveIsNotPlayedAgain)
{
    for (bool mends : {true, false}) {
        LossyDuo duo(mends);
        duo.StartGame();
        duo.PlayPairs(1);
        duo.a.session.BoardClick(10, 10);
        const std::string thirdMove = duo.a.outbox.back();
        ASSERT_EQ(CodeOf(thirdMove), "GPM");
        duo.Run(1000);
        duo.b.session.BoardClick(16, 3);
        duo.Run(1000);
        duo.a.session.Command(6); // "물림 요청", Bob accepts
        duo.Run(2000);
        ASSERT_EQ(duo.b.session.Board().MoveCount(), 2);
        duo.b.session.OnGameData(SessionDuo::Handed(thirdMove));
        duo.Run(1000);
        EXPECT_EQ(duo.b.session.Board().MoveCount() == 2, mends) << (mends ? "" : "as first written");
        duo.a.session.BoardClick(11, 11);
        duo.Run(1000);
        EXPECT_EQ(duo.a.session.Board().GameText() == duo.b.session.Board().GameText(), mends);
    }
}

// A repeated request gets the answer it got the first time, not a second
// question to the user.
TEST(SessionMends, RepeatedEndRequestIsAnsweredAgainWithoutAsking)
{
    LossyDuo duo(true);
    duo.StartGame();
    duo.PlayPairs(1);
    duo.a.session.Command(11);
    const std::string request = duo.a.outbox.back();
    duo.Run(1000);
    const std::size_t questions = duo.b.prompts.questions.size();
    const std::string answer = duo.b.outbox.back();
    ASSERT_EQ(CodeOf(answer), "GEA");
    duo.b.session.OnGameData(SessionDuo::Handed(request));
    EXPECT_EQ(duo.b.outbox.back(), answer);
    EXPECT_EQ(duo.b.prompts.questions.size(), questions);
    EXPECT_EQ(duo.b.session.DeadMarkStage(), 1);
}

// Late copies during the marking: Bob's acceptance of the end request and
// his first agreement come again while Alice waits for his marking. Neither
// counts for an answer, and no recovery of the moves is asked for.
TEST(SessionMends, LateCopiesWhileMarkingChangeNothing)
{
    LossyDuo duo(true);
    duo.StartGame();
    duo.PlayPairs(2);
    duo.a.session.Command(11);
    duo.Run(1000);
    duo.a.session.Command(25);
    duo.Run(1000);
    std::string acceptance, agreement;
    for (const std::string& sent : duo.b.outbox) {
        if (CodeOf(sent) == "GEA")
            acceptance = sent;
        if (CodeOf(sent) == "GDA")
            agreement = sent;
    }
    ASSERT_FALSE(agreement.empty());
    ASSERT_EQ(duo.a.session.DeadMarkStage(), 2);
    const std::size_t sent = duo.a.outbox.size();
    duo.a.session.OnGameData(SessionDuo::Handed(acceptance));
    duo.Run(1000);
    duo.a.session.OnGameData(SessionDuo::Handed(agreement));
    duo.Run(1000);
    EXPECT_EQ(duo.a.session.DeadMarkStage(), 2);
    for (std::size_t i = sent; i < duo.a.outbox.size(); ++i)
        EXPECT_NE(CodeOf(duo.a.outbox[i]), "GPR");
    duo.b.session.Command(25);
    duo.Run(2000);
    EXPECT_TRUE(duo.BothClosedAlike());
}

} // namespace
} // namespace zel::test
