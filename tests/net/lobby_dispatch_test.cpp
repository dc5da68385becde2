#include <gtest/gtest.h>

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/net/LobbyDispatch.h"
#include "core/net/LobbyPorts.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"
#include "core/net/PacketQ.h"
#include "core/net/PacketSender.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"
#include "support/LobbyPackets.h"

namespace zel {
namespace {

using test::Bytes;

struct Ports : LobbyPorts {
    std::vector<std::string> lines;
    int invitationsOpened = 0, invitationsClosed = 0;
    void Print(const std::string& line, bool) override { lines.push_back(line); }
    void InvitationOpened(const TInvitation&) override { ++invitationsOpened; }
    void InvitationClosed() override { ++invitationsClosed; }
};

struct Game : GameSessionPort {
    std::vector<std::pair<char, std::string>> markers;
    std::vector<std::pair<char, int>> arguments;
    std::vector<std::string> requested;
    std::vector<int> stateTo;
    bool black = false;
    void RequestGame(const std::string& id) override { requested.push_back(id); }
    bool IsBlackOfRunningGame() const override { return black; }
    void SendGameState(int user) override { stateTo.push_back(user); }
    void HandleMarker(char marker, const std::string& text) override { markers.emplace_back(marker, text); }
    // A byo-yomi change comes with its sender, checked by the session.
    void ByoyomiMarker(int sender, const std::string& text) override
    {
        markers.emplace_back('T', text);
        byoyomiSenders.push_back(sender);
    }
    std::vector<int> byoyomiSenders;
    // Catch-up and version markers come with their sender too.
    void PrivateMarker(char marker, int sender, const std::string& text) override
    {
        markers.emplace_back(marker, text);
        privateSenders.push_back(sender);
    }
    std::vector<int> privateSenders;
    void HandleArgument(char marker, int argument) override { arguments.emplace_back(marker, argument); }
    std::vector<std::string> entered, left;
    void UserEnteredRoom(const std::string&, const std::string& id) override { entered.push_back(id); }
    void UserLeftRoom(const std::string&, const std::string& id) override { left.push_back(id); }
};

struct Lobby {
    test::FakeTransport transport;
    PacketSender sender{transport, nullptr};
    LoginInfo login;
    FriendsInfo friends;
    EnvironmentInfo environment;
    std::vector<std::string> saved;
    test::ManualClock clock{5000};
    Ports ports;
    Game game;
    TLobbyDispatch d{sender,
                     LobbySettings{login, friends, environment, [this](const std::string& s) { saved.push_back(s); }},
                     clock, ports, game};

    // Logged in as user 1 ("me") with "alice" (2) and "bob" (3) in the waiting room.
    Lobby()
    {
        transport.Open("h", 1);
        transport.PeerAccepts();
        d.SetIdentity({"me", "Me", 20, 10, 20});
        Feed(test::LoginAccepted(1, 0, 10));
        Feed(test::RoomMembers(0, {{1, "me", "Me", 20}, {2, "alice", "Alice", 13, 10, 77}, {3, "bob", "Bob", 20}}));
    }
    void Feed(const Bytes& b) { d.OnPacket(b.data(), b.size()); }
    // Packets sent since the last call, cut at their headers.
    std::vector<Bytes> Sent()
    {
        std::vector<Bytes> out;
        std::size_t at = 0;
        while (at + 6 <= transport.sent.size()) {
            std::size_t len = GetU16(transport.sent.data() + at + 2);
            out.emplace_back(transport.sent.begin() + at, transport.sent.begin() + at + len);
            at += len;
        }
        transport.sent.clear();
        return out;
    }
};

std::uint16_t Code(const Bytes& b)
{
    return GetU16(b.data());
}

TEST(LobbyDispatch, TextRules)
{
    struct Row {
        std::string text;
        std::string printed; // empty: nothing printed
        char marker;         // 0: nothing to the game session
    } rows[] = {
        {"hello", "hello", 0},
        {"x>C<abc>D<", "", 'C'},
        {">M<Me>D<", "", 'D'},
        {">M<Me>T<", "", 'T'},
        {">M<Me>Z<", "", 'Z'},
        {">M<ABJJ\\#>B<", "", 'B'},
        {">M<me>X<", "", 'X'},
        {">M<Me>Y<", ">M<Me>Y<", 0},
        {"pre>B<middle part>P<post", "middle part", 0},
        {">B<\\#title\\#>H<rest", "", 'H'},
        {">P<only>B<", "", 0},
        {KS("   ### [메모] x"), KS("   ### [메모] x"), 0},
        {">X<>Y<", ">X<>Y<", 0},
    };
    for (const Row& r : rows) {
        Lobby t;
        t.d.DispatchText(2, r.text);
        if (r.printed.empty())
            EXPECT_TRUE(t.ports.lines.empty()) << r.text;
        else
            EXPECT_EQ(t.ports.lines, std::vector<std::string>{r.printed}) << r.text;
        if (r.marker) {
            ASSERT_EQ(t.game.markers.size(), 1u) << r.text;
            EXPECT_EQ(t.game.markers[0].first, r.marker) << r.text;
            if (r.marker == 'T') {
                EXPECT_EQ(t.game.byoyomiSenders, std::vector<int>{2});
            }
            if (r.marker == 'D' || r.marker == 'B' || r.marker == 'X') {
                EXPECT_EQ(t.game.privateSenders, std::vector<int>{2}) << r.text;
            }
        } else {
            EXPECT_TRUE(t.game.markers.empty()) << r.text;
        }
    }
    Lobby t;
    t.d.DispatchText(3, ">B<Bob(bob)>I<");
    ASSERT_EQ(t.game.arguments.size(), 1u);
    EXPECT_EQ(t.game.arguments[0], std::make_pair('I', 3));
    t.game.markers.clear();
    t.d.DispatchText(3, ">B<\\#title\\#>H<");
    EXPECT_EQ(t.game.markers[0].second, ">B<\\#title\\#>H<");
}

TEST(LobbyDispatch, WatchRequestsReachOnlyTheBlackPlayer)
{
    Lobby t;
    t.d.DispatchText(2, ">A<GRR>B<Alice(alice)");
    EXPECT_TRUE(t.game.stateTo.empty());
    t.game.black = true;
    t.d.DispatchText(2, ">A<GRR>B<Alice(alice)");
    t.d.DispatchText(-1, ">A<GRR>B<");
    t.d.DispatchText(60000, ">A<GRR>B<"); // no such user
    EXPECT_EQ(t.game.stateTo, (std::vector<int>{2, -1}));
}

TEST(LobbyDispatch, QueuePiecesGoToTheQueue)
{
    Lobby t;
    test::SeededRandom random;
    TPacketQ q{t.clock, random};
    std::vector<std::string> got;
    q.SetOnMessage([&](const std::string& m) { got.push_back(m); });
    t.d.SetPacketQueue(&q);
    t.Feed(test::RoomText(pk::RoomText, 2, ">O<XAKEabcdefghij>E<"));
    t.clock.Advance(200);
    q.Tick(t.clock.Now());
    EXPECT_EQ(got.size(), 1u);
    EXPECT_TRUE(t.ports.lines.empty());
}

TEST(LobbyDispatch, RecordsAndGradeReplies)
{
    Lobby t;
    t.login.counters[0] = {12, 7, 4, 1};
    t.d.DispatchText(2, ">M<\\#alice\\#>P<");
    auto sent = t.Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(Code(sent[0]), pk::PrivateText);
    EXPECT_EQ(GetU16(sent[0].data() + 4), 2);
    EXPECT_EQ(GetU16(sent[0].data() + 6), 77);
    EXPECT_EQ(GetU16(sent[0].data() + 8), 1);
    EXPECT_EQ(GetText(sent[0].data() + 11, sent[0].size() - 11), KS("   ###   Me(me) :: 총 12전 7승 4패 1무   ###"));
    EXPECT_EQ(sent[0].back(), 0);

    t.d.DispatchText(2, ">M<\\#alice\\#>N<");
    sent = t.Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(GetText(sent[0].data() + 11, sent[0].size() - 11), KS("   ###   Me님의 접속상태는 A 등급입니다"));

    t.d.SetIdentity({"me", "Me", 20, 30, 20}); // profile hidden
    t.d.DispatchText(2, ">M<\\#alice\\#>P<");
    t.d.DispatchText(2, ">M<\\#nobody\\#>N<");
    EXPECT_TRUE(t.Sent().empty());
}

// The records request of the user menu, answered by the other client and
// shown where it was asked, as the server relays private text.
TEST(LobbyDispatch, RecordsRequestTravelsToThePeerAndTheAnswerBack)
{
    Lobby me, alice;
    alice.d.SetIdentity({"alice", "Alice", 13, 10, 20});
    alice.Feed(test::LoginAccepted(2, 0, 10));
    alice.login.counters[0] = {3, 2, 1, 0};
    auto relay = [](Lobby& from, Lobby& to) {
        auto sent = from.Sent();
        for (const Bytes& p : sent)
            to.Feed(p);
        return sent.size();
    };

    me.d.SendRecordsRequest(2);
    auto request = me.Sent();
    ASSERT_EQ(request.size(), 1u);
    EXPECT_EQ(GetU16(request[0].data() + 4), 2);
    EXPECT_EQ(GetText(request[0].data() + 11, request[0].size() - 11), ">M<\\#me\\#>P<");
    alice.Feed(request[0]);
    ASSERT_EQ(relay(alice, me), 1u);
    ASSERT_FALSE(me.ports.lines.empty());
    EXPECT_EQ(me.ports.lines.back(), KS("   ###   Alice(alice) :: 총 3전 2승 1패 0무   ###"));

    // Without the separators the asker cannot be found: no answer.
    alice.d.DispatchText(1, ">M<#me#>P<");
    EXPECT_TRUE(alice.Sent().empty());
    // Records hidden after a profile change while connected: no answer either.
    alice.d.ProfileChanged(13, 30, 20);
    me.d.SendRecordsRequest(2);
    relay(me, alice);
    EXPECT_EQ(relay(alice, me), 0u);
}

// Moves of other users into and out of the own room reach the game session;
// moves elsewhere and the own user's moves do not.
TEST(LobbyDispatch, ArrivalsAndDeparturesOfTheOwnRoomReachTheSession)
{
    Lobby t;
    t.Feed(test::UserMoves(1, 5));
    t.Feed(test::UserMoves(2, 5));
    t.Feed(test::UserMoves(3, 6));
    EXPECT_EQ(t.game.entered, std::vector<std::string>{"alice"});
    t.Feed(test::UserMoves(3, 5));
    t.Feed(test::UserMoves(2, 0));
    EXPECT_EQ(t.game.entered, (std::vector<std::string>{"alice", "bob"}));
    EXPECT_EQ(t.game.left, std::vector<std::string>{"alice"});
    t.Feed(test::UserMoves(1, 0));
    t.Feed(test::UserMoves(2, 5));
    EXPECT_EQ(t.game.entered.size(), 2u);
    EXPECT_EQ(t.game.left.size(), 1u);
}

TEST(LobbyDispatch, RequestNoticesAreSilentInMultiGameRooms)
{
    Lobby t;
    t.Feed(test::Packet6(pk::GameRequestCancel, 0));
    t.Feed(test::Packet6(pk::GameRequestRefuse, 0));
    t.Feed(test::TwoUsers(pk::GameRequest, 2, 3));
    EXPECT_EQ(t.ports.lines, (std::vector<std::string>{KS("   ### 대국신청이 취소되었습니다."),
                                                       KS("   ### 대국신청이 거부되었습니다."),
                                                       KS("   ### Alice 님이 Bob 님께 대국 신청 중입니다.")}));
    t.ports.lines.clear();
    t.Feed(test::RoomRecord(pk::RoomOpened, 4, RoomMulti, 2, "multi"));
    t.Feed(test::UserMoves(1, 4));
    ASSERT_EQ(t.d.Model()->currentRoom, 4);
    t.Feed(test::Packet6(pk::GameRequestCancel, 0));
    t.Feed(test::Packet6(pk::GameRequestRefuse, 0));
    t.Feed(test::TwoUsers(pk::GameRequest, 2, 3));
    EXPECT_TRUE(t.ports.lines.empty());
    // Our own request is handed to the game session with the requested id.
    t.Feed(test::TwoUsers(pk::GameRequest, 1, 2));
    t.Feed(test::TwoUsers(pk::GameRequest, 1, 900));
    EXPECT_EQ(t.game.requested, std::vector<std::string>{"alice"});
}

TEST(LobbyDispatch, GameRequestGoesToRoomMateOrAsInvitation)
{
    Lobby t;
    t.Feed(test::Packet6(pk::GameRequestGo, 2)); // both in the waiting room: invitation
    t.Feed(test::RoomRecord(pk::RoomOpened, 4, RoomOpen, 1, "mine"));
    t.Feed(test::UserMoves(3, 4));
    t.Feed(test::Packet6(pk::GameRequestGo, 3)); // in our room: request
    t.Feed(test::Packet6(pk::GameRequestGo, 999));
    auto sent = t.Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(Code(sent[0]), pk::GameInvite);
    EXPECT_EQ(GetU16(sent[0].data() + 8), 2);
    EXPECT_EQ(GetU16(sent[0].data() + 10), 77);
    EXPECT_EQ(Code(sent[1]), pk::GameRequest);
    EXPECT_EQ(GetU16(sent[1].data() + 4), 1);
    EXPECT_EQ(GetU16(sent[1].data() + 6), 3);
}

TEST(LobbyDispatch, Invitations)
{
    {
        Lobby t; // not accepting invitations
        t.login.inviteOn = false;
        t.Feed(test::Invitation(pk::RoomInvite, 2, 0, 1, 0, 5));
        EXPECT_EQ(t.d.Invitation(), nullptr);
        EXPECT_EQ(t.ports.invitationsOpened, 0);
    }
    {
        Lobby t; // accepted: the record goes back unchanged as 31120
        Bytes inv = test::Invitation(pk::RoomInvite, 2, 0, 1, 9, 5);
        t.Feed(inv);
        ASSERT_NE(t.d.Invitation(), nullptr);
        EXPECT_EQ(t.d.Invitation()->firstLine, KS("Alice(alice)  5K 님이"));
        EXPECT_EQ(t.d.Invitation()->secondLine, KS("5번 방에서 초대합니다."));
        t.d.AcceptInvitation();
        auto sent = t.Sent();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(Code(sent[0]), pk::RoomInviteAccept);
        EXPECT_TRUE(std::equal(inv.begin() + 4, inv.end(), sent[0].begin() + 4));
        EXPECT_EQ(t.d.Invitation(), nullptr);
    }
    {
        Lobby t; // left alone for 10 s: refused with the stored message
        t.environment.messages[0] = "busy";
        t.Feed(test::Invitation(pk::GameInvite, 2, 7, 1, 9, 0));
        EXPECT_EQ(t.d.Invitation()->secondLine, KS("대국신청 초대입니다."));
        t.clock.Advance(9999);
        t.d.Tick(t.clock.Now());
        EXPECT_EQ(t.d.Invitation()->gauge, 9);
        EXPECT_TRUE(t.Sent().empty());
        t.clock.Advance(1);
        t.d.Tick(t.clock.Now());
        EXPECT_EQ(t.d.Invitation(), nullptr);
        auto sent = t.Sent();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(Code(sent[0]), pk::GameInviteRefuse);
        EXPECT_EQ(sent[0].size(), 42u);
        EXPECT_EQ(GetU16(sent[0].data() + 4), 1);
        EXPECT_EQ(GetU16(sent[0].data() + 6), 2);
        EXPECT_EQ(GetU16(sent[0].data() + 8), 7);
        EXPECT_EQ(GetText(sent[0].data() + 10, 32), "busy");
        EXPECT_EQ(t.ports.lines.back(), KS("   ### 0번 방 Alice 님의 초대를 거부 했습니다."));
    }
    {
        Lobby t; // an inviter outside the table is ignored
        t.Feed(test::Invitation(pk::RoomInvite, 4000, 0, 1, 9, 5));
        EXPECT_EQ(t.d.Invitation(), nullptr);
    }
}

TEST(LobbyDispatch, RefusalNotices)
{
    Lobby t;
    t.Feed(test::Refusal(pk::RoomInviteRefuse, 2, 1, 0, "later"));
    t.Feed(test::Refusal(pk::GameInviteRefuse, 3, 1, 0, ""));
    EXPECT_EQ(t.ports.lines, (std::vector<std::string>{KS("   ### Alice 님이 초대에 응하지 않았습니다(later)."),
                                                       KS("   ### Bob 님이 대국신청 초대에 응하지 않았습니다.")}));
}

TEST(LobbyDispatch, OutgoingTexts)
{
    Lobby t;
    t.d.SendRoom("hi");
    t.d.SendNotice("n");
    EXPECT_TRUE(t.d.SendPrivateTo("bob", "x", true));
    EXPECT_FALSE(t.d.SendPrivateTo("nobody", "x"));
    t.d.SendRoomRaw(std::string(3000, 'a'));
    auto sent = t.Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(std::string(sent[0].begin() + 6, sent[0].end()), "Me [3D] : hi");
    EXPECT_EQ(GetU16(sent[0].data() + 4), 1);
    EXPECT_EQ(std::string(sent[1].begin() + 6, sent[1].end()), KS("   ### [알림] : n"));
    EXPECT_EQ(sent[2][10], 1);
    EXPECT_EQ(GetText(sent[2].data() + 11, sent[2].size() - 11), KS("   ### [메모] Me [3D] x"));
    EXPECT_EQ(sent[3].size(), 6u + TLobbyDispatch::kMaxText);
}

TEST(LobbyDispatch, ReportResultCountsBandsAndFriends)
{
    struct Row {
        bool black;
        std::string winner, kind;
        int band, field;
        int friendWins, friendLosses;
    } rows[] = {
        {true, KS("흑"), "B", 1, 1, 1, 0},
        {false, KS("흑"), "B", 3, 2, 0, 1},
        {false, KS("백"), "A", 2, 1, 1, 0},
        {true, KS("무"), "A", 2, 3, 0, 0},
    };
    for (const Row& r : rows) {
        Lobby t;
        t.friends.count = 2;
        t.friends.friends[1].id = "alice";
        t.d.ReportResult(r.black, "alice", r.winner, r.kind);
        EXPECT_EQ(t.login.counters[0][0], 1);
        EXPECT_EQ(t.login.counters[0][r.field], 1);
        EXPECT_EQ(t.login.counters[r.band][0], 1);
        EXPECT_EQ(t.login.counters[r.band][r.field], 1);
        EXPECT_EQ(t.friends.friends[1].wins, r.friendWins);
        EXPECT_EQ(t.friends.friends[1].losses, r.friendLosses);
        EXPECT_EQ(t.saved, (std::vector<std::string>{"Login Info", "Friends Info"}));
    }
}

TEST(LobbyDispatch, CleanupDropsTheModelAndLastPartnerLine)
{
    Lobby t;
    t.friends.lastPartner = "alice";
    t.Feed(test::Packet6(pk::LobbyEntered, 0));
    EXPECT_EQ(t.ports.lines.back(), KS("   ### 최근대국 :: Alice   (alice)     5K 님 >> 대기실"));
    t.friends.lastPartner = "zed";
    t.Feed(test::Packet6(pk::LobbyEntered, 0));
    EXPECT_EQ(t.ports.lines.back(), KS("   ### 최근대국 ::         (zed)       님 >> 접속 안함"));
    t.d.OnConnectionCleanup();
    EXPECT_EQ(t.d.Model(), nullptr);
    t.Feed(test::UserArrives(5, "e", "E", 1));
    t.Feed(test::Packet6(pk::GameRequestGo, 2));
    EXPECT_TRUE(t.Sent().empty());
}

} // namespace
} // namespace zel
