#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/game/MultiInfo.h"
#include "support/SessionDuo.h"

namespace zel::test {
namespace {

std::string CodeOf(const std::string& sent)
{
    return sent.size() >= 11 ? sent.substr(8, 3) : std::string();
}

std::string GameOf(const std::string& sent)
{
    return sent.size() >= 5 ? sent.substr(2, 3) : std::string();
}

// A multi-game room: the host "host" and its guests, every game message
// reaching every other member as the room would carry it.
class MultiRoom {
public:
    explicit MultiRoom(int guests) : clock(36000000), random(7), host(clock, random, "host")
    {
        Join(host);
        for (int i = 1; i <= guests; ++i) {
            this->guests.push_back(std::make_unique<SessionSide>(clock, random, "g" + std::to_string(i)));
            Join(*this->guests.back());
        }
    }
    SessionSide& Guest(int i) { return *guests[static_cast<std::size_t>(i - 1)]; }

    void Deliver()
    {
        for (SessionSide* from : Members())
            while (from->delivered < from->outbox.size()) {
                const std::string sent = from->outbox[from->delivered++];
                if (drop && drop(*from, sent))
                    continue;
                for (SessionSide* to : Members())
                    if (to != from)
                        to->session.OnGameData(SessionDuo::Handed(sent));
            }
    }
    void Run(std::int32_t ms, std::int32_t step = 50)
    {
        for (std::int32_t t = 0; t < ms; t += step) {
            clock.Set((clock.Now() + step) % kDayMs);
            for (SessionSide* s : Members())
                s->session.Tick(clock.Now());
            Deliver();
        }
    }
    // The guest asks the host for a game (guest black); the host accepts.
    void Ask(SessionSide& guest, std::int32_t ms = 1500)
    {
        guest.session.RequestGame("host");
        Run(ms);
    }
    // The guest plays (x, y); the host answers on the same board at (hx, hy).
    void Exchange(SessionSide& guest, int x, int y, int hx, int hy)
    {
        guest.session.BoardClick(x, y);
        Run(1000);
        ASSERT_EQ(host.session.Header().GameId, guest.session.Header().GameId);
        host.session.BoardClick(hx, hy);
        Run(1000);
    }
    std::vector<std::string> HostSent(const std::string& code) const
    {
        std::vector<std::string> out;
        for (const std::string& s : host.outbox)
            if (CodeOf(s) == code)
                out.push_back(s);
        return out;
    }

    ManualClock clock;
    SeededRandom random;
    SessionSide host;
    std::vector<std::unique_ptr<SessionSide>> guests;
    std::function<bool(const SessionSide&, const std::string&)> drop;

private:
    void Join(SessionSide& s)
    {
        s.lobby.multiRoom = true;
        s.session.MultiHostId = "host";
        // Past the click lock between clicks.
        s.session.Tick(clock.Now());
    }
    std::vector<SessionSide*> Members()
    {
        std::vector<SessionSide*> all{&host};
        for (auto& g : guests)
            all.push_back(g.get());
        return all;
    }
};

TEST(SessionMulti, EachGuestGetsItsOwnBoardAndMessagesSelectIt)
{
    MultiRoom room(3);
    for (int i = 1; i <= 3; ++i)
        room.Ask(room.Guest(i));
    ASSERT_EQ(room.host.session.ActiveBoards(), 3);
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(room.Guest(i).session.GameOpen());
        // A guest who asked with "자동(호선)" stays black against the host.
        EXPECT_EQ(room.Guest(i).session.Header().BlackId, "g" + std::to_string(i));
        EXPECT_EQ(room.host.session.BoardGameId(i), room.Guest(i).session.Header().GameId);
    }
    // White's clock in a multi-game room: 90 minutes whatever was agreed.
    EXPECT_EQ(room.Guest(1).session.Info().Side(kWhite).Limit, 5400);

    room.Exchange(room.Guest(2), 4, 4, 16, 16);
    EXPECT_EQ(room.host.session.CurrentBoard(), 2);
    room.Exchange(room.Guest(1), 3, 3, 17, 17);
    EXPECT_EQ(room.host.session.CurrentBoard(), 1);
    // The host's board is guest 1's only: guest 2's stones are not on it.
    EXPECT_EQ(room.host.session.Board().GameText(), room.Guest(1).session.Board().GameText());
    room.Exchange(room.Guest(2), 5, 5, 15, 15);
    EXPECT_EQ(room.host.session.CurrentBoard(), 2);
    EXPECT_EQ(room.host.session.Board().GameText(), room.Guest(2).session.Board().GameText());
    EXPECT_EQ(room.host.session.Board().MoveCount(), 4);
    EXPECT_EQ(room.Guest(3).session.Board().MoveCount(), 0);
    // A message for a game not on the table is dropped, board unchanged.
    room.host.session.OnGameData("ZZZxyzGPMABWDDDDB");
    room.Run(500);
    EXPECT_EQ(room.host.session.CurrentBoard(), 2);
    EXPECT_EQ(room.host.session.Board().MoveCount(), 4);
}

TEST(SessionMulti, HostInputFollowsTheShownBoardsTurn)
{
    MultiRoom room(2);
    room.Ask(room.Guest(1));
    room.Ask(room.Guest(2));
    EXPECT_FALSE(room.host.session.InputEnabled());
    room.Guest(1).session.BoardClick(4, 4);
    room.Run(1000);
    EXPECT_TRUE(room.host.session.InputEnabled());
    EXPECT_TRUE(room.host.window.boardInput);
    // While the host has the move, guest 2's move waits in the queue.
    room.Guest(2).session.BoardClick(5, 5);
    room.Run(2000);
    EXPECT_EQ(room.host.session.CurrentBoard(), 1);
    EXPECT_EQ(room.host.session.Queued(), 1);
    room.host.session.BoardClick(16, 16);
    room.Run(1000);
    EXPECT_EQ(room.host.session.CurrentBoard(), 2);
    EXPECT_TRUE(room.host.session.InputEnabled());
    EXPECT_EQ(room.Guest(1).session.Board().MoveCount(), 2);
}

TEST(SessionMulti, DuplicatesAreAnsweredFromTheirBoard)
{
    MultiRoom room(2);
    room.Ask(room.Guest(1));
    room.Ask(room.Guest(2));
    room.Guest(1).session.BoardClick(4, 4);
    room.Run(1000);
    const std::string move = room.Guest(1).outbox.back();
    ASSERT_EQ(CodeOf(move), "GPM");
    room.host.session.BoardClick(16, 16);
    room.Run(1000);
    const std::string reply = room.HostSent("GPM").back();
    // Another board's message comes between, then guest 1's move again:
    // the host's answer on guest 1's board goes out once more.
    room.Exchange(room.Guest(2), 5, 5, 15, 15);
    const std::size_t before = room.host.outbox.size();
    room.host.session.OnGameData(SessionDuo::Handed(move));
    room.Run(1000);
    ASSERT_GT(room.host.outbox.size(), before);
    EXPECT_EQ(room.host.outbox[before], reply);
    EXPECT_EQ(room.host.session.CurrentBoard(), 1);
    EXPECT_EQ(room.host.session.Board().MoveCount(), 2);

    // While the host has the move on a board that waits for its own
    // request, a copy of the guest's last move gets a receipt.
    room.Guest(1).session.BoardClick(5, 4);
    room.Run(1000);
    const std::string third = room.Guest(1).outbox.back();
    room.host.session.Command(6); // an undo request on the host's turn
    room.Run(200);
    ASSERT_EQ(CodeOf(room.host.outbox.back()), "GRR");
    room.host.session.OnGameData("ZZZxyzGPVnote"); // another message in between
    const std::size_t mark = room.host.outbox.size();
    room.host.session.OnGameData(SessionDuo::Handed(third));
    room.Run(500);
    ASSERT_GT(room.host.outbox.size(), mark);
    EXPECT_EQ(CodeOf(room.host.outbox[mark]), "GPT");
    EXPECT_EQ(GameOf(room.host.outbox[mark]), room.host.session.BoardGameId(1));
}

TEST(SessionMulti, AnotherGuestsRequestKeepsTheShownBoardsCopiesKnown)
{
    MultiRoom room(3);
    room.Ask(room.Guest(1));
    room.Guest(1).session.BoardClick(4, 4);
    room.Run(1000);
    const std::string move = room.Guest(1).outbox.back();
    room.host.session.BoardClick(16, 16);
    room.Run(1000);
    const std::string reply = room.HostSent("GPM").back();
    // A new guest's request is handled while guest 1's board is shown.
    room.Ask(room.Guest(2));
    ASSERT_TRUE(room.Guest(2).session.GameOpen());
    const std::size_t before = room.host.outbox.size();
    room.host.session.OnGameData(SessionDuo::Handed(move));
    room.Run(1000);
    ASSERT_GT(room.host.outbox.size(), before);
    EXPECT_EQ(room.host.outbox[before], reply);
    EXPECT_EQ(room.Guest(1).session.Board().MoveCount(), 2);
}

TEST(SessionMulti, AGuestWhoseAcceptanceWasLostGetsItWithTheHostsFirstMove)
{
    MultiRoom room(1);
    SessionSide& g = room.Guest(1);
    // Two stones: the host, white, moves first.
    g.dialogs.setup = [](TGameSetModel& m) { m.HandicapChanged(2); };
    int lost = 0;
    room.drop = [&lost](const SessionSide& from, const std::string& sent) {
        return from.session.MyId == "host" && CodeOf(sent) == "GSA" && lost++ == 0;
    };
    g.session.RequestGame("host");
    room.Run(1500);
    ASSERT_EQ(room.host.session.ActiveBoards(), 1);
    EXPECT_FALSE(g.session.GameOpen());
    room.host.session.BoardClick(16, 16);
    room.Run(1000);
    // The guest saw the move without a game; its request goes again, and
    // the acceptance comes back with the move, which is played this time.
    room.Run(12000);
    ASSERT_TRUE(g.session.GameOpen());
    EXPECT_EQ(g.session.Board().MoveCount(), 1);
    EXPECT_TRUE(g.session.IsMyTurn());
    room.Exchange(g, 4, 4, 4, 16);
    EXPECT_EQ(room.host.session.Board().GameText(), g.session.Board().GameText());
}

TEST(SessionMulti, RequestsWaitingForTheHostAreToldSoOnce)
{
    MultiRoom room(1);
    SessionSide& g = room.Guest(1);
    room.host.dialogs.accept = false;
    g.session.RequestGame("host");
    const std::string request = g.outbox.back();
    room.host.session.OnGameData(SessionDuo::Handed(request));
    // A copy still queued behind it is not told again.
    room.host.session.OnGameData("AAAxyzGPMABWDDDDB");
    room.host.session.OnGameData(SessionDuo::Handed(request));
    const std::string line = KS("   ### 대국 신청을 처리 중입니다. 잠시 기다려 주세요.") + "\r\n";
    ASSERT_EQ(room.host.lobby.privates.size(), 1u);
    EXPECT_EQ(room.host.lobby.privates[0], std::make_pair(std::string("g1"), line));
    // A request naming someone no id can be is not answered privately.
    room.host.session.OnGameData("QQQxyzGSR" + std::string(40, 'm') + "\\#AAmallory\\#host\\#AAGBBEBEAF\\#m\\#h\\#B");
    room.host.session.OnGameData("QQRxyzGSRbad id\\#AAmallory\\#host\\#AAGBBEBEAF\\#m\\#h\\#B");
    EXPECT_EQ(room.host.lobby.privates.size(), 1u);
    // Outside multi-game rooms no one is told.
    SessionDuo duo;
    duo.b.session.OnGameData(SessionDuo::Handed(request));
    EXPECT_TRUE(duo.b.lobby.privates.empty());
}

TEST(SessionMulti, TheTwentyFirstGameIsRefusedAndTheHostTold)
{
    MultiRoom room(21);
    for (int i = 1; i <= 20; ++i)
        room.Ask(room.Guest(i), 600);
    ASSERT_EQ(room.host.session.ActiveBoards(), 20);
    SessionSide& late = room.Guest(21);
    room.Ask(late);
    EXPECT_FALSE(late.session.GameOpen());
    EXPECT_EQ(room.host.session.ActiveBoards(), 20);
    ASSERT_FALSE(room.HostSent("GSC").empty());
    EXPECT_EQ(GameOf(room.HostSent("GSC").back()), late.session.Header().GameId);
    const auto& notices = room.host.prompts.notices;
    EXPECT_TRUE(std::any_of(notices.begin(), notices.end(), [](const auto& n) {
        return n.first.find(KS("다면기 판이 모두 찼습니다")) != std::string::npos;
    }));
    // A guest already on the table may ask again: the new game replaces its board.
    SessionSide& again = room.Guest(7);
    again.session.EndSession();
    const std::string old = room.host.session.BoardGameId(7);
    room.Ask(again);
    ASSERT_TRUE(again.session.GameOpen());
    EXPECT_EQ(room.host.session.ActiveBoards(), 20);
    EXPECT_NE(again.session.Header().GameId, old);
    EXPECT_EQ(room.host.session.BoardGameId(7), again.session.Header().GameId);
}

TEST(SessionMulti, ARepeatedRequestOfABoardInPlayGetsItsAcceptanceNotANewBoard)
{
    MultiRoom room(2);
    room.Ask(room.Guest(1));
    const std::string request = room.Guest(1).outbox.front();
    ASSERT_EQ(CodeOf(request), "GSR");
    room.Ask(room.Guest(2));
    room.Exchange(room.Guest(1), 4, 4, 16, 16);
    const std::string reply = room.HostSent("GPM").back();
    const std::size_t before = room.host.outbox.size();
    room.host.session.OnGameData(SessionDuo::Handed(request));
    room.Run(1000);
    EXPECT_EQ(room.host.session.ActiveBoards(), 2);
    // The guest never had the acceptance: it comes again, with the host's
    // answer on the board since.
    ASSERT_EQ(room.host.outbox.size(), before + 2);
    EXPECT_EQ(CodeOf(room.host.outbox[before]), "GSA");
    EXPECT_EQ(room.host.outbox[before + 1], reply);
    room.Guest(1).session.BoardClick(5, 5);
    room.Run(1000);
    EXPECT_EQ(room.host.session.Board().MoveCount(), 3);
}

TEST(SessionMulti, BlackGuestAnnouncesItsGameAndAnswersStatusQuestions)
{
    MultiRoom room(1);
    SessionSide& g = room.Guest(1);
    room.Ask(g);
    const std::string line = KS("   ### 흑: g1 : ") + KS("호선") + KS(" : 현재 0수");
    ASSERT_FALSE(g.lobby.roomTexts.empty());
    EXPECT_EQ(g.lobby.roomTexts.back(), line);
    room.Exchange(g, 4, 4, 16, 16);
    g.session.SendStatusLine("watcher");
    ASSERT_FALSE(g.lobby.privates.empty());
    EXPECT_EQ(g.lobby.privates.back(),
              std::make_pair(std::string("watcher"), KS("   ### 흑: g1 : ") + KS("호선") + KS(" : 현재 2수")));
    // The host has no status line of its own.
    room.host.session.SendStatusLine("watcher");
    EXPECT_TRUE(room.host.lobby.privates.empty() || room.host.lobby.privates.back().first != "watcher");
    // A newcomer to the room gets the line instead of the game state.
    g.session.MemberEntered("newcomer");
    EXPECT_EQ(g.lobby.privates.back().first, "newcomer");
    EXPECT_EQ(g.lobby.privates.back().second.rfind(KS("   ### 흑: "), 0), 0u);
}

TEST(SessionMulti, TheHostsSessionEndsOnlyWithItsLastBoard)
{
    MultiRoom room(2);
    room.Ask(room.Guest(1));
    room.Ask(room.Guest(2));
    room.Exchange(room.Guest(1), 4, 4, 16, 16);
    room.Guest(1).prompts.confirmAnswer = true;
    room.Guest(1).session.Command(10); // resigns
    room.Run(2000);
    EXPECT_FALSE(room.Guest(1).session.GameOpen());
    EXPECT_TRUE(room.host.session.GameOpen());
    EXPECT_EQ(room.host.session.ActiveBoards(), 1);
    ASSERT_FALSE(room.host.window.records.empty());
    EXPECT_EQ(room.host.files.files.at(room.host.window.records.back().second),
              room.Guest(1).files.files.at(room.Guest(1).session.LastRecordName()));
    // "판 치우기" with a board still in play only tells the host.
    room.host.session.Command(32);
    EXPECT_TRUE(room.host.session.GameOpen());
    EXPECT_EQ(room.host.prompts.alerts.back(), KS("대국이 종료되지 않았습니다."));
    room.Exchange(room.Guest(2), 4, 4, 16, 16);
    room.Guest(2).session.Command(10);
    room.Run(2000);
    EXPECT_EQ(room.host.session.ActiveBoards(), 0);
    EXPECT_FALSE(room.host.session.GameOpen());
}

TEST(SessionMulti, ClearingTheBoardsEndsTheSession)
{
    MultiRoom room(2);
    room.Ask(room.Guest(1));
    room.Ask(room.Guest(2));
    room.host.session.ClearMultiBoards();
    EXPECT_EQ(room.host.session.ActiveBoards(), 0);
    EXPECT_FALSE(room.host.session.GameOpen());
    // Later messages of those games are dropped.
    room.Guest(1).session.BoardClick(4, 4);
    room.Run(1000);
    EXPECT_FALSE(room.host.session.GameOpen());
    EXPECT_EQ(room.host.session.Board().MoveCount(), 0);
}

TEST(SessionMulti, TheHostsBoardsSurviveItsAbsenceInTheSaveFile)
{
    MultiRoom room(3);
    for (int i = 1; i <= 3; ++i)
        room.Ask(room.Guest(i));
    room.Exchange(room.Guest(1), 4, 4, 16, 16);
    room.Exchange(room.Guest(3), 3, 3, 17, 17);
    room.Exchange(room.Guest(3), 4, 3, 17, 16);
    // Guest 2's move waits for the host's answer when the host stops.
    room.Guest(2).session.BoardClick(10, 10);
    room.Run(1000);
    std::vector<std::string> texts;
    for (int i = 1; i <= 3; ++i)
        texts.push_back(room.Guest(i).session.Board().GameText());

    EXPECT_TRUE(room.host.session.ForcedStop(KS("본인"), "host"));
    EXPECT_FALSE(room.host.session.GameOpen());
    ASSERT_TRUE(room.host.files.Exists("multiinfo.tmp"));
    const std::string saved = room.host.files.files.at("multiinfo.tmp");
    EXPECT_EQ(saved.rfind("3\r\n", 0), 0u);
    EXPECT_EQ(room.host.session.ActiveBoards(), 0);

    ASSERT_TRUE(room.host.session.RestoreMultiBoards());
    EXPECT_FALSE(room.host.files.Exists("multiinfo.tmp"));
    EXPECT_TRUE(room.host.session.GameOpen());
    EXPECT_TRUE(room.host.session.AwaitingReply());
    EXPECT_EQ(room.host.window.layout, kPlayingLayout);
    EXPECT_EQ(room.host.prompts.notices.back(), std::make_pair(KS("다면기 정보를 갱신 하였습니다"), 2000));
    ASSERT_EQ(room.host.session.ActiveBoards(), 3);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(room.host.session.BoardGameId(i), room.Guest(i).session.Header().GameId);
    // Each board plays on from where it stood: guest 2's move is there.
    room.Guest(1).session.BoardClick(5, 5);
    room.Run(1000);
    EXPECT_EQ(room.host.session.Board().MoveCount(), 3);
    room.host.session.BoardClick(15, 15);
    room.Run(1000);
    EXPECT_EQ(room.Guest(1).session.Board().MoveCount(), 4);
    EXPECT_EQ(room.Guest(1).session.Board().GameText(), room.host.session.Board().GameText());
    (void)texts;
    // Nothing is restored twice, and never over boards in play.
    EXPECT_FALSE(room.host.session.RestoreMultiBoards());
}

TEST(SessionMulti, StoppingWithoutBoardsOrWithoutTheFileKeepsThemInPlay)
{
    MultiRoom room(1);
    EXPECT_FALSE(room.host.session.ForcedStop(KS("본인"), "host"));
    room.Ask(room.Guest(1));
    room.host.files.failWrites = true;
    EXPECT_FALSE(room.host.session.ForcedStop(KS("본인"), "host"));
    EXPECT_TRUE(room.host.session.GameOpen());
    EXPECT_EQ(room.host.session.ActiveBoards(), 1);
    // A guest leaving does not stop the host's boards.
    EXPECT_FALSE(room.host.session.ForcedStop("G1", "g1"));
    EXPECT_EQ(room.host.session.ActiveBoards(), 1);
}

TEST(SessionMulti, AHostileSaveFileRestoresOnlyWellFormedBoardsOfTheHost)
{
    MultiRoom room(1);
    room.Ask(room.Guest(1));
    room.Exchange(room.Guest(1), 4, 4, 16, 16);
    ASSERT_TRUE(room.host.session.ForcedStop(KS("본인"), "host"));
    const std::string saved = room.host.files.files.at("multiinfo.tmp");
    const std::string good = saved.substr(3, saved.find("\r\n", 3) - 3);
    const std::string state = good.substr(5);

    // A count beyond the table: the file is not read at all, and kept.
    room.host.files.files["multiinfo.tmp"] = "99\r\n" + good + "\r\n";
    EXPECT_FALSE(room.host.session.RestoreMultiBoards());
    EXPECT_TRUE(room.host.files.Exists("multiinfo.tmp"));
    EXPECT_FALSE(room.host.session.GameOpen());

    // Bad keys, a repeated key, an overlong line, another pair's game and
    // a broken move list are left out; the good board comes back.
    std::string other = state;
    other.replace(other.find("g1"), 2, "zz");
    other.replace(other.find("host"), 4, "yyyy");
    const std::string text = "7\r\nab1\\#" + state + "\r\n" + good + "\r\n" + good + "\r\nQQQ\\#" +
                             std::string(9000, 'A') + "\r\nRRR\\#" + other + "\r\nSSS\\#g1\\#host\\#AZZZ\\#\r\n";
    room.host.files.files["multiinfo.tmp"] = text;
    ASSERT_TRUE(room.host.session.RestoreMultiBoards());
    EXPECT_EQ(room.host.session.ActiveBoards(), 1);
    EXPECT_EQ(room.host.session.BoardGameId(1), good.substr(0, 3));
    EXPECT_EQ(room.host.session.Board().MoveCount(), 2);
    EXPECT_FALSE(room.host.files.Exists("multiinfo.tmp"));
}

TEST(SessionMulti, ARestoredBoardWithNothingToResendAnswersCopiesWithGPE)
{
    MultiRoom room(1);
    room.Ask(room.Guest(1));
    room.Exchange(room.Guest(1), 4, 4, 16, 16);
    ASSERT_TRUE(room.host.session.ForcedStop(KS("본인"), "host"));
    ASSERT_TRUE(room.host.session.RestoreMultiBoards());
    const std::string key = room.host.session.BoardGameId(1);
    room.host.session.OnGameData(key + "xyzGPV");
    room.Run(500);
    ASSERT_FALSE(room.host.outbox.empty());
    EXPECT_EQ(CodeOf(room.host.outbox.back()), "GPE");
    EXPECT_EQ(GameOf(room.host.outbox.back()), key);
}

TEST(SessionMulti, AGuestResumesItsStoppedGameWhenTheHostIsBack)
{
    MultiRoom room(1);
    SessionSide& g = room.Guest(1);
    room.Ask(g);
    room.Exchange(g, 4, 4, 16, 16);
    room.Exchange(g, 5, 5, 15, 15);
    ASSERT_TRUE(room.host.session.ForcedStop(KS("본인"), "host"));
    // The guest sees the host leave and keeps its game.
    ASSERT_TRUE(g.session.ForcedStop("Host", "host"));
    ASSERT_TRUE(g.files.Exists("g1host.tmp"));
    ASSERT_TRUE(room.host.session.RestoreMultiBoards());
    room.Ask(g, 3000);
    ASSERT_TRUE(g.session.GameOpen());
    EXPECT_EQ(g.session.Header().GameId, room.host.session.BoardGameId(1));
    EXPECT_FALSE(room.HostSent("GPS").empty());
    EXPECT_EQ(room.host.session.ActiveBoards(), 1);
    room.Exchange(g, 6, 6, 14, 14);
    EXPECT_EQ(g.session.Board().MoveCount(), 6);
    EXPECT_EQ(room.host.session.Board().GameText(), g.session.Board().GameText());
}

TEST(MultiInfo, RoundTripAndHostileText)
{
    std::vector<TMultiInfoBoard> boards;
    ASSERT_TRUE(ReadMultiInfo(WriteMultiInfo({"ABC\\#x\\#y\\#", "DEF\\#z"}), 20, boards));
    ASSERT_EQ(boards.size(), 2u);
    EXPECT_EQ(boards[0].GameId, "ABC");
    EXPECT_EQ(boards[0].State, "x\\#y\\#");
    EXPECT_EQ(boards[1].State, "z");
    // Fewer lines than counted, "\n" alone as the line end.
    ASSERT_TRUE(ReadMultiInfo("3\nABC\\#x\n", 20, boards));
    EXPECT_EQ(boards.size(), 1u);
    // More lines than counted: only the counted ones.
    ASSERT_TRUE(ReadMultiInfo("1\nABC\\#x\nDEF\\#y\n", 20, boards));
    EXPECT_EQ(boards.size(), 1u);
    for (const char* bad : {"", "-1\n", "21\nABC\\#x\n", "x\n", "1000\n", " 2\n"})
        EXPECT_FALSE(ReadMultiInfo(bad, 20, boards)) << bad;
    EXPECT_TRUE(boards.empty());
    ASSERT_TRUE(ReadMultiInfo("0\r\n", 20, boards));
    EXPECT_TRUE(boards.empty());
    // Keys must be three capitals and unique.
    ASSERT_TRUE(ReadMultiInfo("4\nAB\\#x\nabc\\#x\nABCD\\#x\nXYZ x\n", 20, boards));
    EXPECT_TRUE(boards.empty());
}

} // namespace
} // namespace zel::test
