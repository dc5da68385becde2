#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/net/PacketCodes.h"
#include "support/Fakes.h"
#include "support/GameFakes.h"
#include "support/LinkedLobby.h"
#include "support/MemoryFileStore.h"
#include "core/record/HelpList.h"

namespace zel {
namespace {

using test::Bytes;
using test::MemberEntry;

// One client: its lobby (dispatch + link) and its game session.
struct Side {
    Side(const Clock& clock, Random& random, const std::string& id, const std::string& nick)
        : lobby(clock, random, id, nick, 20),
          session(TSessionServices{clock, random, prompts, window, lobby.link, dialogs, files, pending})
    {
        lobby.Attach(session);
    }
    const std::vector<std::string>& commands() const { return lobby.host.commands; }
    test::RecordingPrompts prompts;
    test::RecordingWindow window;
    test::ScriptedDialogs dialogs;
    test::MemoryFileStore files;
    THelpList pending;
    test::LinkedLobby lobby;
    TBBS2Zel session;
    std::vector<Bytes> lobbyPackets; // sent packets other than texts
};

// "me" (1) and "alice" (2) in room 5, "carol" (3) in the waiting room; the
// relay delivers room text to every member of room 5 and private text to its
// addressee, as the server does.
class GameLinkTest : public ::testing::Test {
protected:
    GameLinkTest()
    {
        for (int i = 0; i < 3; ++i) {
            const char* ids[] = {"me", "alice", "carol"};
            const char* nicks[] = {"Me", "Alice", "Carol"};
            sides.push_back(std::make_unique<Side>(clock, random, ids[i], nicks[i]));
        }
        for (int i = 0; i < 3; ++i) {
            Side& s = *sides[static_cast<std::size_t>(i)];
            s.lobby.Feed(test::LoginAccepted(i + 1, 0, 16));
            s.lobby.Feed(test::RoomMembers(0, {{3, "carol", "Carol", 20}}));
            s.lobby.Feed(test::RoomMembers(5, {{1, "me", "Me", 20}, {2, "alice", "Alice", 20}}));
        }
        me().dialogs.setup = [](TGameSetModel& m) { m.Choice = TGameSetModel::Colour::Black; };
    }
    Side& me() { return *sides[0]; }
    Side& alice() { return *sides[1]; }
    Side& carol() { return *sides[2]; }
    Side& ByUser(int user) { return *sides[static_cast<std::size_t>(user - 1)]; }

    void Relay()
    {
        for (int from = 1; from <= 3; ++from) {
            for (Bytes& p : ByUser(from).lobby.TakeSent()) {
                std::uint16_t code = GetU16(p.data());
                if (code == pk::RoomText) {
                    for (int to = 1; to <= 3; ++to)
                        if (InRoom5(to) && to != deaf)
                            Deliver(to, p, holdRoom);
                } else if (code == pk::PrivateText) {
                    int to = GetU16(p.data() + 4);
                    if (to >= 1 && to <= 3)
                        Deliver(to, p, holdPrivate);
                } else {
                    ByUser(from).lobbyPackets.push_back(p);
                }
            }
        }
    }
    // Texts to `holdFor` wait in `held` while their kind is held.
    void Deliver(int to, const Bytes& p, bool hold)
    {
        if (hold && to == holdFor)
            held.push_back(p);
        else
            ByUser(to).lobby.Feed(p);
    }
    // Held texts of packet `code` arrive now.
    void Release(std::uint16_t code)
    {
        std::vector<Bytes> late;
        for (Bytes& p : held)
            (GetU16(p.data()) == code ? late : kept_).push_back(std::move(p));
        held.swap(kept_);
        kept_.clear();
        for (const Bytes& p : late)
            ByUser(holdFor).lobby.Feed(p);
    }
    bool InRoom5(int user)
    {
        const TCManager* m = ByUser(1).lobby.dispatch.Model();
        return m && m->User(user).room == 5;
    }
    void Run(int ms)
    {
        for (int t = 0; t < ms; t += 50) {
            clock.Advance(50);
            for (auto& s : sides)
                s->lobby.link.Tick(clock.Now());
            Relay();
        }
    }
    void StartGame()
    {
        me().lobby.Feed(test::TwoUsers(pk::GameRequest, 1, 2));
        Run(3000);
        ASSERT_TRUE(me().session.GameOpen());
        ASSERT_TRUE(alice().session.GameOpen());
    }
    void ToAll(const Bytes& p)
    {
        for (auto& s : sides)
            s->lobby.Feed(p);
    }
    static int Count(const std::vector<Bytes>& packets, std::uint16_t code)
    {
        int n = 0;
        for (const Bytes& p : packets)
            n += GetU16(p.data()) == code;
        return n;
    }

    // A user who misses the room's texts for a while (0: nobody).
    int deaf = 0;
    // A user whose room or private texts arrive late, when released.
    int holdFor = 0;
    bool holdRoom = false, holdPrivate = false;
    std::vector<Bytes> held, kept_;
    test::ManualClock clock{36000000};
    test::SeededRandom random{11};
    std::vector<std::unique_ptr<Side>> sides;
};

TEST_F(GameLinkTest, AnnouncedRequestStartsTheGameOnBothClients)
{
    StartGame();
    EXPECT_EQ(me().session.MyId, "me");
    EXPECT_EQ(alice().session.MyId, "alice");
    EXPECT_TRUE(me().session.IsBlackPlayer());
    EXPECT_EQ(me().session.Header().GameId, alice().session.Header().GameId);
    EXPECT_EQ(me().session.Header().BlackLabel, "Me(me) 3D");
    EXPECT_EQ(me().lobby.friends.lastPartner, "alice");
    EXPECT_EQ(alice().lobby.friends.lastPartner, "me");
    // The accepting side announces the start.
    EXPECT_EQ(Count(alice().lobbyPackets, pk::GameStart), 1);
    EXPECT_TRUE(me().lobby.link.GameInProgress());
    EXPECT_FALSE(carol().session.GameOpen());
}

TEST_F(GameLinkTest, MovesTravelAsQueuePiecesInRoomText)
{
    StartGame();
    me().session.BoardClick(4, 4);
    Run(2000);
    EXPECT_EQ(alice().session.Board().MoveCount(), 1);
    EXPECT_EQ(alice().session.Board().Colour(4, 4), kBlack);
}

// Marker texts as the server delivers them, and what the session does.
TEST_F(GameLinkTest, MarkerTextsReachTheSession)
{
    struct Row {
        const char* name;
        std::function<void()> deliver;
        std::function<bool()> check;
    };
    std::vector<Row> rows = {
        {"game-state request from a newcomer: state in pieces, observer opens the game",
         [&] {
             ToAll(test::UserMoves(3, 5));
             me().lobby.Feed(test::RoomText(pk::RoomText, 3, "Carol [1D] : >A<GRR>B<Carol(carol)"));
             Run(1000);
         },
         [&] {
             return carol().session.GameOpen() && carol().window.layout == 2 && !carol().session.IsPlayer() &&
                    carol().session.Header().GameId == me().session.Header().GameId &&
                    !carol().lobby.link.GameInProgress();
         }},
        {"request while not black: nothing sent",
         [&] { alice().lobby.Feed(test::RoomText(pk::RoomText, 3, ">A<GRR>B<")); },
         [&] { return alice().lobby.TakeSent().empty(); }},
        {"byo-yomi change reaches both players",
         [&] { ToAll(test::RoomText(pk::RoomText, 1, "Me [1D] : >M<" + std::string("AKAC") + ">T<")); },
         [&] {
             return me().session.Info().Side(kWhite).PeriodLen == 10 && me().session.Info().Side(kBlack).Periods == 2 &&
                    alice().session.Info().Side(kBlack).PeriodLen == 10;
         }},
        {"opponent leaves the room: state saved, game over announced", [&] { ToAll(test::UserMoves(2, 0)); },
         [&] {
             return !me().session.GameOpen() && me().files.Exists("mealice.tmp") &&
                    Count(me().lobby.TakeSent(), pk::GameEnd) == 1;
         }},
    };
    StartGame();
    me().lobby.TakeSent();
    for (const Row& r : rows) {
        r.deliver();
        EXPECT_TRUE(r.check()) << r.name;
    }
}

// Someone who comes into the room of a running game watches it without
// asking; nobody else sends the newcomer anything.
TEST_F(GameLinkTest, NewcomerToTheRoomWatchesTheRunningGame)
{
    StartGame();
    me().session.BoardClick(4, 4);
    Run(2000);
    me().lobby.TakeSent();
    alice().lobby.TakeSent();
    ToAll(test::UserMoves(3, 5));
    EXPECT_TRUE(alice().lobby.TakeSent().empty());
    Relay();
    Run(1000);
    EXPECT_TRUE(carol().session.GameOpen());
    EXPECT_EQ(carol().window.layout, 2);
    EXPECT_EQ(carol().session.Board().MoveCount(), 1);
    EXPECT_EQ(carol().session.Header().GameId, me().session.Header().GameId);
}

// A watcher that missed moves asks the black player for them and plays them
// in order; replies nobody asked for, from anyone but black, or naming
// another user change nothing.
TEST_F(GameLinkTest, WatcherBehindCatchesUpFromTheBlackPlayer)
{
    StartGame();
    me().session.BoardClick(4, 4);
    Run(2000);
    ToAll(test::UserMoves(3, 5));
    Run(1000);
    ASSERT_EQ(carol().session.Board().MoveCount(), 1);

    deaf = 3;
    alice().session.BoardClick(16, 16);
    Run(2000);
    me().session.BoardClick(16, 4);
    Run(2000);
    ASSERT_EQ(carol().session.Board().MoveCount(), 1);
    deaf = 0;
    alice().session.BoardClick(4, 16);
    Run(3000);
    ASSERT_EQ(me().session.Board().MoveCount(), 4);
    EXPECT_EQ(carol().session.Board().MoveCount(), 4);
    for (auto [x, y] : {std::pair{4, 4}, {16, 16}, {16, 4}, {4, 16}})
        EXPECT_EQ(carol().session.Board().Colour(x, y), me().session.Board().Colour(x, y)) << x << "," << y;

    // Unasked, or from white: the board stays.
    const std::string moves = ">M<" + NumToCode2(1) + "JJ" + "\\#>B<";
    carol().lobby.Feed(test::PrivateText(3, 1, moves));
    carol().lobby.Feed(test::PrivateText(3, 2, moves));
    EXPECT_EQ(carol().session.Board().MoveCount(), 4);
    // A question naming someone else than its sender gets no answer.
    me().lobby.TakeSent();
    me().lobby.Feed(test::PrivateText(1, 2, ">M<" + NumToCode2(0) + "carol\\#>D<"));
    EXPECT_TRUE(me().lobby.TakeSent().empty());
    me().lobby.Feed(test::PrivateText(1, 3, ">M<" + NumToCode2(0) + "carol\\#>D<"));
    EXPECT_EQ(me().lobby.TakeSent().size(), 1u);
}

// The catch-up answer can arrive after a move that overtook the question:
// the watcher plays only what follows that move.
TEST_F(GameLinkTest, CatchUpAnswerOvertakenByAMoveStillBringsTheRest)
{
    StartGame();
    ToAll(test::UserMoves(3, 5));
    Run(1000);
    me().session.BoardClick(4, 4);
    Run(2000);
    alice().session.BoardClick(16, 16);
    Run(2000);
    ASSERT_EQ(carol().session.Board().MoveCount(), 2);
    holdFor = 3;
    holdRoom = true; // move 3 reaches carol late
    me().session.BoardClick(16, 4);
    Run(2000);
    holdRoom = false;
    holdPrivate = true; // and so does the answer to her question
    alice().session.BoardClick(4, 16);
    Run(2000);
    ASSERT_EQ(carol().session.Board().MoveCount(), 2);
    ASSERT_EQ(held.size(), 2u);
    holdPrivate = false;
    Release(pk::RoomText);
    Run(1000);
    ASSERT_EQ(carol().session.Board().MoveCount(), 3);
    Release(pk::PrivateText);
    Run(1000);
    EXPECT_EQ(carol().session.Board().MoveCount(), 4);
    EXPECT_EQ(carol().session.Board().GameText(), me().session.Board().GameText());
}

TEST_F(GameLinkTest, VersionQueryIsAnsweredToTheUserWhoAsked)
{
    me().lobby.dispatch.SendRoomRaw(">M<me>X<");
    Relay();
    Relay();
    bool answered = false;
    for (const std::string& line : me().lobby.lines)
        answered |=
            line.find("Alice(alice)") != std::string::npos && line.find("HvnZel Beta 1.8 c >Y<") != std::string::npos;
    EXPECT_TRUE(answered);
    // A query in someone else's name is not answered at all.
    alice().lobby.TakeSent();
    alice().lobby.Feed(test::RoomText(pk::RoomText, 1, ">M<carol>X<"));
    EXPECT_TRUE(alice().lobby.TakeSent().empty());
}

// While a player blocks the chat, the other player sees no commentary and the
// game window's block command sends nothing more; the release lifts both.
TEST_F(GameLinkTest, ChatBlockDuringAGame)
{
    StartGame();
    me().session.BoardClick(4, 4);
    Run(2000);
    alice().lobby.dispatch.SendRoomRaw(">M<Alice>Z<");
    Relay();
    EXPECT_TRUE(me().session.ChatBlocked());
    me().session.Command(7);
    EXPECT_TRUE(me().lobby.host.commands.empty());
    alice().session.GiboEvent(1, "ABAADDEE\\#\\#hidden\\!:: alice");
    Run(2000);
    EXPECT_TRUE(me().window.commentaries.empty());

    alice().lobby.dispatch.SendRoomRaw(">M<Alice>R<");
    Relay();
    EXPECT_FALSE(me().session.ChatBlocked());
    alice().session.GiboEvent(1, "ABAADDEE\\#\\#shown\\!:: alice");
    Run(2000);
    EXPECT_EQ(me().window.commentaries.size(), 1u);
    me().session.Command(7);
    EXPECT_EQ(me().lobby.host.commands, std::vector<std::string>{"/elmzs"});
}

// A user who comes while the request waits for its answer missed it; it
// watches once the game has started.
TEST_F(GameLinkTest, NewcomerDuringTheRequestWatchesOnceTheGameStarts)
{
    me().lobby.Feed(test::TwoUsers(pk::GameRequest, 1, 2));
    for (int t = 0; t < 3000 && !alice().session.GameOpen(); t += 50) {
        clock.Advance(50);
        for (auto& s : sides)
            s->lobby.link.Tick(clock.Now());
        Relay();
    }
    ASSERT_TRUE(alice().session.GameOpen());
    ASSERT_TRUE(me().session.RequestPending());
    ToAll(test::UserMoves(3, 5));
    Run(3000);
    ASSERT_TRUE(me().session.GameOpen());
    EXPECT_TRUE(carol().session.GameOpen());
    EXPECT_EQ(carol().window.layout, 2);
    EXPECT_EQ(carol().session.Header().GameId, me().session.Header().GameId);
}

TEST_F(GameLinkTest, NewcomerWithoutAGameOrRequestIsNotHandedOn)
{
    ToAll(test::UserMoves(3, 5));
    Run(1000);
    EXPECT_FALSE(carol().session.GameOpen());
    for (int user = 1; user <= 3; ++user)
        EXPECT_TRUE(ByUser(user).lobby.TakeSent().empty()) << user;
}

// "퇴실 하기" in the game window: the watching ends and the lobby is asked to
// leave the room, as "/q" typed in the chat would.
TEST_F(GameLinkTest, LeaveRoomCommandEndsTheSessionAndLeavesTheRoom)
{
    StartGame();
    ToAll(test::UserMoves(3, 5));
    Run(1000);
    ASSERT_TRUE(carol().session.GameOpen());
    carol().session.Command(14);
    EXPECT_FALSE(carol().session.GameOpen());
    EXPECT_EQ(carol().commands(), std::vector<std::string>{"/q"});
}

TEST_F(GameLinkTest, RequestToSomeoneOutsideTheRoomIsRefusedWithANotice)
{
    me().lobby.Feed(test::TwoUsers(pk::GameRequest, 1, 3));
    EXPECT_FALSE(me().session.RequestPending());
    ASSERT_FALSE(me().lobby.lines.empty());
    EXPECT_EQ(me().lobby.lines.back(), "   ### carol" + KS("님은 이방에 계시지 않습니다."));
    EXPECT_TRUE(me().lobby.TakeSent().empty());
}

TEST_F(GameLinkTest, SlashCommandsGoToTheLobbyNotTheRoom)
{
    StartGame();
    me().lobby.TakeSent();
    me().session.Command(7);
    EXPECT_EQ(me().commands(), std::vector<std::string>{"/elmzs"});
    EXPECT_TRUE(me().lobby.TakeSent().empty());
}

TEST_F(GameLinkTest, ConnectionLossKeepsTheGameResumable)
{
    StartGame();
    me().session.BoardClick(4, 4);
    Run(1000);
    me().lobby.link.OnConnectionDropped();
    EXPECT_FALSE(me().session.GameOpen());
    EXPECT_TRUE(me().files.Exists("mealice.tmp"));
    EXPECT_FALSE(me().lobby.link.GameInProgress());
    EXPECT_EQ(me().lobby.link.Queue().Unsent(), 0);
}

// After a lost connection the lobby comes again in full; the game goes on only
// where the player is back in its room beside the opponent.
TEST_F(GameLinkTest, LoginAwayFromTheOpponentSetsTheGameAside)
{
    struct Row {
        const char* what;
        int room;
        std::vector<MemberEntry> members;
        bool goesOn;
    };
    const std::vector<Row> rows = {
        {"back in the room beside alice", 5, {{1, "me", "Me", 20}, {2, "alice", "Alice", 20}}, true},
        {"back in the room, alice gone", 5, {{1, "me", "Me", 20}}, false},
        {"a server that knows nobody: the waiting room", 0, {{1, "me", "Me", 20}}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        StartGame();
        me().session.BoardClick(4, 4);
        Run(1000);
        me().lobby.Feed(test::LoginAccepted(1, row.room, 16));
        me().lobby.Feed(test::Packet6(pk::LobbyReset, 0));
        me().lobby.Feed(test::RoomMembers(row.room, row.members));
        me().lobby.Feed(test::Packet6(pk::LobbyEntered, 0));
        EXPECT_EQ(me().session.GameOpen(), row.goesOn);
        EXPECT_EQ(me().files.Exists("mealice.tmp"), !row.goesOn);
        // Put things back for the next row: both in room 5, no game.
        me().files.Remove("mealice.tmp");
        me().lobby.Feed(test::RoomMembers(5, {{1, "me", "Me", 20}, {2, "alice", "Alice", 20}}));
        for (Side* s : {&me(), &alice()})
            if (s->session.GameOpen())
                s->lobby.link.OnConnectionDropped();
        alice().files.Remove("mealice.tmp");
    }
}

TEST_F(GameLinkTest, CancelledRequestStopsWaiting)
{
    alice().dialogs.accept = false;
    me().lobby.Feed(test::TwoUsers(pk::GameRequest, 1, 2));
    EXPECT_TRUE(me().session.RequestPending());
    me().lobby.link.CancelPendingRequest();
    EXPECT_FALSE(me().session.RequestPending());
}

// ---- group review ----

// A record of three moves as the host's window gives it: header data, "\!",
// the count and colour, X, Y of each move.
const std::string kHeaderData = "me\\#alice\\#AAAF\\#2026-12-08 zel\\#\\#";
const std::string kCompact = kHeaderData + "\\!" + "AD" + "BDD" + "WPP" + "BDP";

class ReviewLinkTest : public GameLinkTest {
protected:
    ReviewLinkTest()
    {
        ToAll(test::UserMoves(3, 5)); // carol comes into the room
        me().files.files["game.zel"] = "OOAA" + kHeaderData + "\r\n";
        me().window.chosenRecord = "/home/me/records/game.zel";
        me().window.compactRecord = kCompact;
        Run(200);
    }
    void OpenReview()
    {
        ASSERT_TRUE(me().session.OpenReview());
        Run(3000);
    }
    // What the joiner wrote for the host's record.
    static std::string ExpectedFile() { return "OOAA" + kHeaderData + "\r\nPMABBDDDD\r\nPMACWPPPP\r\nPMADBDPPD\r\n"; }
    // A review record sent privately by `from` to `to` as pieces of `text`.
    void SendRecord(int from, int to, const std::string& text)
    {
        ByUser(to).lobby.Feed(test::PrivateText(to, from, ">C<GSI\\#BB\\#" + text + ">D<"));
    }
};

TEST_F(ReviewLinkTest, JoinersWithoutTheRecordFetchItAndFollowTheHost)
{
    OpenReview();
    EXPECT_EQ(me().window.dialogCaptions, std::vector<std::string>{KS("기보 복기")});
    EXPECT_EQ(me().session.SessionKind(), kReviewSession);
    EXPECT_EQ(me().session.ReviewTitle(), "game.zel");
    EXPECT_EQ(Count(me().lobbyPackets, pk::ReviewStart), 1);
    for (Side* s : {&alice(), &carol()}) {
        EXPECT_EQ(s->files.files["game.zel"], ExpectedFile()) << s->session.MyId;
        ASSERT_EQ(s->window.openedReviews.size(), 1u) << s->session.MyId;
        EXPECT_EQ(s->window.openedReviews[0], std::make_pair(std::string("game.zel"), false));
        EXPECT_EQ(s->session.SessionKind(), kReviewSession);
    }
    // Each join is written in the others' chat and answered with the host's position.
    EXPECT_NE(std::find(me().window.chat.begin(), me().window.chat.end(), KS("참여: Alice(alice)")),
              me().window.chat.end());

    for (Side* s : {&alice(), &carol()})
        s->window.seeks.clear();
    me().session.GiboEvent(4, "AC");
    Run(1000);
    EXPECT_EQ(alice().window.seeks, std::vector<int>{2});
    EXPECT_EQ(carol().window.seeks, std::vector<int>{2});

    me().session.GiboEvent(5, "");
    me().session.NavEvent(2);
    Run(1000);
    EXPECT_EQ(Count(me().lobbyPackets, pk::ReviewEnd), 1);
    EXPECT_FALSE(me().session.ReviewHost());
    EXPECT_NE(std::find(alice().window.chat.begin(), alice().window.chat.end(), KS("마침: Me(me)")),
              alice().window.chat.end());
}

TEST_F(ReviewLinkTest, ParticipationCheckAndLatecomers)
{
    alice().files.files["game.zel"] = "OOAA" + kHeaderData + "\r\n";
    OpenReview();
    // Alice had the record: nothing was fetched or overwritten.
    EXPECT_EQ(alice().files.files["game.zel"], "OOAA" + kHeaderData + "\r\n");
    me().session.GiboEvent(3, "");
    Run(1000);
    int answers = 0;
    for (const std::string& line : me().lobby.lines)
        answers += line == KS("참여: Alice(alice)") || line == KS("참여: Carol(carol)");
    EXPECT_EQ(answers, 2);

    // A user who comes into the room later is told the title and joins.
    ToAll(test::UserMoves(3, 0));
    carol().session.NavEvent(2);
    ToAll(test::UserMoves(3, 5));
    Run(3000);
    EXPECT_EQ(carol().session.SessionKind(), kReviewSession);
    EXPECT_EQ(carol().window.openedReviews.size(), 2u);
}

TEST_F(ReviewLinkTest, OnlyTheNewestPositionWaitsWhileACommentaryIsShown)
{
    OpenReview();
    alice().window.reviewing = false; // a commentary over the review
    alice().window.seeks.clear();
    for (const char* node : {"AB", "AC", "AD"}) {
        me().session.GiboEvent(4, node);
        Run(300);
    }
    Run(2000);
    EXPECT_EQ(alice().session.Queued(), 1);
    EXPECT_TRUE(alice().window.seeks.empty());
    alice().window.reviewing = true;
    Run(1000);
    EXPECT_EQ(alice().window.seeks, std::vector<int>{3});
}

TEST_F(ReviewLinkTest, MessagesOfAnotherReviewAreIgnored)
{
    OpenReview();
    alice().window.seeks.clear();
    alice().session.OnGameData("XXXXXXGBSother.zel\\#AD");
    alice().session.OnGameData("XXXXXXGBHother.zel\\#AAAB\\#\\#x");
    Run(1000);
    EXPECT_TRUE(alice().window.seeks.empty());
    EXPECT_TRUE(alice().window.reviewCommentaries.empty());
}

// A record sent under a name that leaves the record directory, or names no
// record file, writes nothing and tells the user.
TEST_F(ReviewLinkTest, HostileRecordNamesWriteNothing)
{
    const char* names[] = {"../x.zel", "/tmp/x.zel", "C:\\x.zel",   "C:x.zel", "a/b.zel", "a\\b.zel",
                           "..",       "x.tmp",      "mealice.tmp", "CON.zel", "",        " x.zel"};
    for (const char* name : names) {
        Side& a = alice();
        a.files.files.clear();
        a.prompts.notices.clear();
        // Alice asked for this very title, as a hostile host may have made her.
        a.session.JoinReview(name);
        SendRecord(1, 2, std::string(name) + "\\#" + kCompact);
        EXPECT_TRUE(a.files.files.empty()) << name;
        EXPECT_EQ(a.files.writes, 0) << name;
        EXPECT_FALSE(a.session.GameOpen()) << name;
        ASSERT_EQ(a.prompts.notices.size(), 1u) << name;
        EXPECT_EQ(a.prompts.notices[0].first, KS("받은 기보의 파일 이름이 올바르지 않아 저장하지 않았습니다."));
    }
}

TEST_F(ReviewLinkTest, MalformedOrUnaskedRecordsAreNotWritten)
{
    struct Row {
        const char* name;
        std::string text;
        bool notice;
    } rows[] = {
        {"not asked for", "other.zel\\#" + kCompact, false},
        {"no move part", "game.zel\\#" + kHeaderData, true},
        {"count larger than the moves", "game.zel\\#" + kHeaderData + "\\!AEBDDWPPBDP", true},
        {"count smaller than the moves", "game.zel\\#" + kHeaderData + "\\!ACBDDWPPBDP", true},
        {"point off the board", "game.zel\\#" + kHeaderData + "\\!ABBZZ", true},
        {"colour neither black nor white", "game.zel\\#" + kHeaderData + "\\!ABXDD", true},
        {"line break in the header", "game.zel\\#me\r\nPMAAB\\#\\!AA", true},
    };
    for (const Row& r : rows) {
        Side& a = alice();
        a.files.files.clear();
        a.prompts.notices.clear();
        a.session.JoinReview("game.zel");
        SendRecord(1, 2, r.text);
        EXPECT_TRUE(a.files.files.empty()) << r.name;
        EXPECT_EQ(a.prompts.notices.size(), r.notice ? 1u : 0u) << r.name;
        EXPECT_FALSE(a.session.GameOpen()) << r.name;
    }
    // A file the user already has is never replaced by a sent one.
    alice().session.JoinReview("game.zel");
    alice().files.files["game.zel"] = "mine";
    SendRecord(1, 2, "game.zel\\#" + kCompact);
    EXPECT_EQ(alice().files.files["game.zel"], "mine");
}

} // namespace
} // namespace zel
