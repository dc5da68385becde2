#include <gtest/gtest.h>

#include <algorithm>

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"
#include "server/ServerCore.h"
#include "ServerTestIo.h"

namespace zel {
namespace {

using test::RecordingIo;
using test::SentPacket;

constexpr std::size_t kTable = 8;
constexpr std::uint64_t kGrace = 1000;

std::vector<std::uint8_t> Record(std::uint16_t code, const std::string& id, int user = 0, int room = 0)
{
    std::vector<std::uint8_t> r(38, 0);
    PacketHeader{code, 38, 0}.Encode(r.data());
    r[4] = 20;
    r[5] = 10;
    r[6] = 18;
    PutU16(&r[10], static_cast<std::uint16_t>(user));
    PutU16(&r[12], static_cast<std::uint16_t>(room));
    PutText(&r[20], 8, id);
    PutText(&r[28], 10, id + "n");
    return r;
}

std::vector<std::uint8_t> Packet(std::uint16_t code, std::size_t length, std::uint16_t arg = 0)
{
    std::vector<std::uint8_t> p(length, 0);
    PacketHeader{code, static_cast<std::uint16_t>(length), arg}.Encode(p.data());
    return p;
}

std::vector<std::uint8_t> Text(std::uint16_t code, std::uint16_t arg, const std::string& text)
{
    auto p = Packet(code, 6 + text.size(), arg);
    std::copy(text.begin(), text.end(), p.begin() + 6);
    return p;
}

std::vector<std::uint8_t> Private(int to, int handle, const std::string& text)
{
    auto p = Packet(pk::PrivateText, 12 + text.size(), static_cast<std::uint16_t>(to));
    PutU16(&p[6], static_cast<std::uint16_t>(handle));
    PutU16(&p[8], 7); // a lie the server must overwrite
    std::copy(text.begin(), text.end(), p.begin() + 11);
    p.back() = 'X'; // missing terminator
    return p;
}

std::vector<std::uint8_t> Invite(std::uint16_t code, int invited, int room = 0)
{
    auto p = Packet(code, 14);
    PutU16(&p[8], static_cast<std::uint16_t>(invited));
    PutU16(&p[12], static_cast<std::uint16_t>(room));
    return p;
}

std::vector<std::uint8_t> Pair(std::uint16_t code, int a, int b)
{
    auto p = Packet(code, 8);
    PutU16(&p[4], static_cast<std::uint16_t>(a));
    PutU16(&p[6], static_cast<std::uint16_t>(b));
    return p;
}

std::string TextOf(const SentPacket& p, std::size_t from)
{
    return std::string(p.data.begin() + static_cast<std::ptrdiff_t>(from), p.data.end());
}

const SentPacket* Find(const std::vector<SentPacket>& ps, std::uint16_t code)
{
    auto it = std::find_if(ps.begin(), ps.end(), [code](const SentPacket& p) { return p.code == code; });
    return it == ps.end() ? nullptr : &*it;
}

class ServerCoreTest : public ::testing::Test {
protected:
    RecordingIo io;
    TServerCore core{io, {kTable, kGrace, 60000}};
    std::uint64_t now = 0;

    void Feed(ConnId conn, const std::vector<std::uint8_t>& bytes)
    {
        core.OnBytes(conn, bytes.data(), bytes.size(), now);
    }
    // Connects and logs in; returns the user number from 21030 (-1 when refused).
    int Login(ConnId conn, const std::string& id, std::uint16_t code = pk::Login, int user = 0, int room = 0)
    {
        core.OnConnected(conn, now);
        Feed(conn, Record(code, id, user, room));
        auto ps = io.Take(conn);
        const SentPacket* ok = Find(ps, pk::LoginAccepted);
        return ok ? ok->U16(4) : -1;
    }
    int Handle(int user) const { return core.Lobby().User(user).handle; }
    void Close(ConnId conn) { core.OnClosed(conn, now); }
    void Quiet()
    {
        for (auto& [conn, bytes] : io.sent)
            bytes.clear();
    }
};

TEST_F(ServerCoreTest, LoginGreetsAcceptsAndSendsTheLobbyEndingWithEntered)
{
    core.OnConnected(1, now);
    EXPECT_EQ(io.Codes(1), std::vector<std::uint16_t>{pk::Greeting});
    Feed(1, Record(pk::Login, "alice"));
    auto ps = io.Take(1);
    ASSERT_GE(ps.size(), 4u);
    EXPECT_EQ(ps[0].code, pk::LoginAccepted);
    int alice = ps[0].U16(4);
    EXPECT_GE(alice, 1);
    EXPECT_EQ(ps[0].U16(6), 0);
    EXPECT_EQ(ps[0].U16(8), kTable);
    EXPECT_EQ(ps.back().code, pk::LobbyEntered);
    const SentPacket* members = Find(ps, pk::RoomMembers);
    ASSERT_NE(members, nullptr);
    EXPECT_EQ(members->U16(6), 1);
    EXPECT_EQ(members->U16(8 + 6), alice);
    EXPECT_EQ(GetText(&members->data[8 + 16], 8), "alice");

    int bob = Login(2, "bob");
    auto arrival = io.Take(1);
    ASSERT_EQ(arrival.size(), 1u);
    EXPECT_EQ(arrival[0].code, pk::UserArrives);
    EXPECT_EQ(arrival[0].U16(10), bob);
    EXPECT_EQ(arrival[0].U16(12), Handle(bob));
    EXPECT_NE(Handle(alice), Handle(bob));
}

TEST_F(ServerCoreTest, DuplicateIdIsRefusedWhileConnectedAndReplacedWhenDropped)
{
    int alice = Login(1, "alice");
    Login(2, "bob");
    core.OnConnected(3, now);
    Feed(3, Record(pk::Login, "alice"));
    EXPECT_EQ(io.Codes(3), (std::vector<std::uint16_t>{pk::Greeting, pk::DuplicateLogin}));
    EXPECT_TRUE(io.closed.at(3));

    Close(1); // alice drops; a fresh login of the same id replaces her
    Quiet();
    EXPECT_GE(Login(4, "alice"), 1);
    auto seen = io.Take(2);
    ASSERT_NE(Find(seen, pk::UserLeaves), nullptr);
    EXPECT_EQ(Find(seen, pk::UserLeaves)->arg, alice);
}

TEST_F(ServerCoreTest, ReloginWithinGraceRestoresNumberAndRoomWithoutTellingOthers)
{
    int dora = Login(1, "dora");
    Login(2, "eve");
    auto make = Packet(pk::MakeRoom, 60);
    Feed(1, make);
    int room = core.Lobby().User(dora).room;
    ASSERT_GT(room, 0);
    Close(1);
    now += kGrace / 2;
    core.Tick(now);
    Quiet();

    core.OnConnected(3, now);
    Feed(3, Record(pk::ReLogin, "dora", dora, room));
    auto ps = io.Take(3);
    ASSERT_GE(ps.size(), 3u);
    EXPECT_EQ(ps[1].code, pk::LoginAccepted);
    EXPECT_EQ(ps[1].U16(4), dora);
    EXPECT_EQ(ps[1].U16(6), room);
    EXPECT_EQ(ps[2].code, pk::LobbyReset);
    EXPECT_TRUE(io.Take(2).empty());
}

TEST_F(ServerCoreTest, ReloginThatCannotBeMatchedIsAFreshLogin)
{
    int dora = Login(1, "dora");
    Login(2, "eve");
    Close(1);
    now += kGrace;
    core.Tick(now); // grace over: dora departs
    auto seen = io.Take(2);
    ASSERT_NE(Find(seen, pk::UserLeaves), nullptr);

    // Wrong id for the number, then the right id after expiry: both fresh.
    int fred = Login(4, "fred");
    int zed = Login(3, "zed", pk::ReLogin, fred);
    EXPECT_GE(zed, 1);
    EXPECT_NE(zed, fred);
    EXPECT_GE(Login(5, "dora", pk::ReLogin, dora, 0), 1);
    EXPECT_EQ(Login(6, "dora"), -1); // connected again: a duplicate
}

TEST_F(ServerCoreTest, ReloginWhileTheOldConnectionLingersTakesItOver)
{
    int dora = Login(1, "dora");
    Login(2, "eve");
    Quiet();
    EXPECT_EQ(Login(3, "dora", pk::ReLogin, dora), dora);
    EXPECT_FALSE(io.closed.at(1)); // the old one is cut at once
    Close(1);                      // and its end is not a departure
    core.Tick(now + 10 * kGrace);
    EXPECT_TRUE(io.Take(2).empty());
    EXPECT_TRUE(core.Lobby().ValidUser(dora));
}

TEST_F(ServerCoreTest, ProbeVerdicts)
{
    int dora = Login(1, "dora");
    int eve = Login(2, "eve");
    Close(2);
    struct Row {
        std::string id;
        int user;
        std::uint16_t verdict;
    } rows[] = {
        {"dora", dora, pk::VerdictAlive},  {"eve", eve, pk::VerdictReconnect},  {"dora", eve, pk::VerdictUnknown},
        {"nobody", 5, pk::VerdictUnknown}, {"dora", 65535, pk::VerdictUnknown},
    };
    ConnId conn = 10;
    for (const Row& r : rows) {
        core.OnConnected(conn, now);
        Feed(conn, Record(pk::Probe, r.id, r.user));
        auto ps = io.Take(conn);
        ASSERT_EQ(ps.size(), 2u) << r.id;
        EXPECT_EQ(ps[1].code, pk::ProbeVerdict);
        EXPECT_EQ(ps[1].arg, r.verdict) << r.id << "/" << r.user;
        ++conn;
    }
}

TEST_F(ServerCoreTest, FullTableSaysByeAndGarbageDisconnects)
{
    Login(1, "watch");
    for (std::size_t i = 2; i < kTable; ++i)
        EXPECT_GE(Login(static_cast<ConnId>(i), "u" + std::to_string(i)), 1);
    core.OnConnected(50, now);
    Feed(50, Record(pk::Login, "late"));
    EXPECT_EQ(io.Codes(50), (std::vector<std::uint16_t>{pk::Greeting, pk::ServerBye}));
    EXPECT_TRUE(io.closed.count(50));

    Quiet();
    int victim = core.Lobby().FindUser("u2");
    Feed(2, Packet(pk::UserArrives, 38)); // a code only the server sends
    EXPECT_FALSE(io.closed.at(2));
    EXPECT_FALSE(core.Lobby().ValidUser(victim));
    auto seen = io.Take(1);
    ASSERT_NE(Find(seen, pk::UserLeaves), nullptr);
    EXPECT_EQ(Find(seen, pk::UserLeaves)->arg, victim);

    // Packets of a user who is not logged in are ignored, and such a
    // connection does not stay for ever.
    core.OnConnected(60, now);
    Feed(60, Text(pk::NoticeText, 0, "x"));
    EXPECT_EQ(io.Codes(1), std::vector<std::uint16_t>{});
    core.Tick(now + 59999);
    EXPECT_FALSE(io.closed.count(60));
    core.Tick(now + 60000);
    EXPECT_TRUE(io.closed.count(60));
    EXPECT_FALSE(io.closed.count(1));
}

class RoomsTest : public ServerCoreTest {
protected:
    int a = 0, b = 0, c = 0;
    void SetUp() override
    {
        a = Login(1, "ann");
        b = Login(2, "ben");
        c = Login(3, "cat");
        Quiet();
    }
    int MakeRoom(ConnId conn, const std::string& title, std::uint16_t state = 10)
    {
        auto p = Packet(pk::MakeRoom, 60);
        PutU16(&p[6], state);
        PutU32(&p[20], 5); // a lie about the owner
        std::copy_n(title.begin(), std::min<std::size_t>(title.size(), 32), p.begin() + 28);
        Feed(conn, p);
        auto ps = io.Take(3);
        const SentPacket* opened = Find(ps, pk::RoomOpened);
        return opened ? opened->U16(4) : -1;
    }
    void Enter(ConnId conn, int room) { Feed(conn, Pair(pk::EnterRoom, 0, room)); }
};

TEST_F(RoomsTest, MakeAndEnterRoom)
{
    int room = MakeRoom(1, std::string(32, 'T')); // no terminator in the field
    ASSERT_GE(room, 1);
    const TServerRoom& r = core.Lobby().Room(room);
    EXPECT_EQ(r.owner, a);
    EXPECT_EQ(GetText(r.title.data(), 32), std::string(31, 'T')); // cut, always terminated
    Quiet();

    Enter(2, room);
    auto others = io.Take(3);
    ASSERT_EQ(others.size(), 1u);
    EXPECT_EQ(others[0].code, pk::UserMoves);
    EXPECT_EQ(others[0].U16(4), b);
    EXPECT_EQ(others[0].U16(6), room);
    auto mine = io.Take(2);
    const SentPacket* members = Find(mine, pk::RoomMembers);
    ASSERT_NE(members, nullptr);
    EXPECT_EQ(members->U16(4), room);
    EXPECT_EQ(members->U16(6), 2);

    // Closed, out-of-range and current rooms are refused silently.
    for (int bad : {room + 1, static_cast<int>(kTable), 65535, room}) {
        Enter(2, bad);
        EXPECT_TRUE(io.Take(3).empty()) << bad;
    }
    EXPECT_EQ(core.Lobby().User(b).room, room);
}

TEST_F(RoomsTest, TitleChangeOnlyByTheOwner)
{
    int room = MakeRoom(1, "old");
    Enter(2, room);
    Quiet();
    auto change = Packet(pk::RoomTitle, 60);
    std::string title = "new";
    std::copy(title.begin(), title.end(), change.begin() + 28);
    Feed(2, change);
    EXPECT_TRUE(io.Take(3).empty());
    Feed(1, change);
    auto ps = io.Take(3);
    ASSERT_EQ(ps.size(), 1u);
    EXPECT_EQ(ps[0].code, pk::RoomTitle);
    EXPECT_EQ(GetText(&ps[0].data[28], 32), "new");
}

TEST_F(RoomsTest, TextsReachExactlyTheirAddressees)
{
    int room = MakeRoom(1, "r");
    Enter(2, room);
    Quiet();

    Feed(1, Text(pk::RoomText, 7, "hello"));
    for (ConnId conn : {1u, 2u}) {
        auto ps = io.Take(conn);
        ASSERT_EQ(ps.size(), 1u) << conn;
        EXPECT_EQ(ps[0].arg, a); // the sender, from the connection
        EXPECT_EQ(TextOf(ps[0], 6), "hello");
    }
    EXPECT_TRUE(io.Take(3).empty());

    Feed(3, Private(b, Handle(b), "psst"));
    auto got = io.Take(2);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].U16(8), c);
    EXPECT_EQ(got[0].data.back(), 0);
    struct Row {
        int to, handle;
    } misaddressed[] = {{b, Handle(b) + 1}, {b, Handle(c)}, {static_cast<int>(kTable), 0}, {65535, Handle(b)}};
    for (const Row& r : misaddressed) {
        Feed(3, Private(r.to, r.handle, "x"));
        EXPECT_TRUE(io.Take(1).empty() && io.Take(2).empty() && io.Take(3).empty()) << r.to;
    }

    Feed(2, Text(pk::NoticeText, 0, "all"));
    for (ConnId conn : {1u, 2u, 3u})
        EXPECT_EQ(io.Codes(conn), std::vector<std::uint16_t>{pk::NoticeText});
}

TEST_F(RoomsTest, RoomInvitationRoundTrip)
{
    int room = MakeRoom(1, "r");
    Quiet();
    // Accepting or refusing what was never asked does nothing.
    Feed(2, Invite(pk::RoomInviteAccept, b, room));
    EXPECT_EQ(core.Lobby().User(b).room, 0);

    Feed(1, Invite(pk::RoomInvite, b, 0));
    auto mine = io.Take(1);
    ASSERT_EQ(mine.size(), 1u);
    EXPECT_EQ(mine[0].code, pk::InviteSent);
    EXPECT_EQ(mine[0].arg, pk::RoomInviteDone);
    auto theirs = io.Take(2);
    ASSERT_EQ(theirs.size(), 1u);
    EXPECT_EQ(theirs[0].U16(4), a);
    EXPECT_EQ(theirs[0].U16(10), Handle(b));
    EXPECT_EQ(theirs[0].U16(12), room);

    auto accept = theirs[0].data;
    PutU16(&accept[0], pk::RoomInviteAccept);
    PutU16(&accept[12], 0); // the room comes from the invitation, not from here
    Feed(2, accept);
    EXPECT_EQ(core.Lobby().User(b).room, room);
    Feed(2, accept); // used up
    EXPECT_EQ(io.Codes(3), std::vector<std::uint16_t>{pk::UserMoves});
}

TEST_F(RoomsTest, RefusalGoesBackToTheInviterWithItsReasonCut)
{
    Feed(1, Invite(pk::GameInvite, c));
    Quiet();
    auto refuse = Packet(pk::GameInviteRefuse, 42);
    PutU16(&refuse[6], static_cast<std::uint16_t>(a));
    std::fill(refuse.begin() + 10, refuse.end(), 'r');
    Feed(3, refuse);
    auto ps = io.Take(1);
    ASSERT_EQ(ps.size(), 1u);
    EXPECT_EQ(ps[0].code, pk::GameInviteRefuse);
    EXPECT_EQ(ps[0].U16(4), c);
    EXPECT_EQ(GetText(&ps[0].data[10], 32), std::string(31, 'r'));
    Feed(3, refuse);
    EXPECT_TRUE(io.Take(1).empty());
}

TEST_F(RoomsTest, GameInvitationFromTheWaitingRoomOpensAMatchRoom)
{
    Feed(1, Invite(pk::GameInvite, b));
    auto invitation = io.Take(2).at(0).data;
    Quiet();
    PutU16(&invitation[0], pk::GameInviteAccept);
    Feed(2, invitation);
    auto seen = io.Take(3);
    ASSERT_NE(Find(seen, pk::MatchRoom), nullptr);
    int room = Find(seen, pk::MatchRoom)->U16(4);
    EXPECT_GT(room, 0);
    EXPECT_EQ(core.Lobby().User(a).room, room);
    EXPECT_EQ(core.Lobby().User(b).room, room);
    auto go = io.Take(1);
    ASSERT_NE(Find(go, pk::GameRequestGo), nullptr);
    EXPECT_EQ(Find(go, pk::GameRequestGo)->arg, b);

    // The game request that follows is announced to the room only.
    Quiet();
    Feed(1, Pair(pk::GameRequest, 0, b));
    EXPECT_EQ(io.Codes(2), std::vector<std::uint16_t>{pk::GameRequest});
    EXPECT_TRUE(io.Take(3).empty());
}

TEST_F(RoomsTest, GameStartAndEndChangeStateAndAreBroadcast)
{
    int room = MakeRoom(1, "g");
    Enter(2, room);
    Quiet();
    Feed(3, Pair(pk::GameStart, a, b)); // not a player
    EXPECT_TRUE(io.Take(1).empty());
    Feed(1, Pair(pk::GameStart, a, c)); // not in the same room
    EXPECT_TRUE(io.Take(1).empty());
    Feed(1, Pair(pk::GameStart, a, b));
    EXPECT_EQ(io.Codes(3), std::vector<std::uint16_t>{pk::GameStart});
    EXPECT_EQ(core.Lobby().Room(room).state, lobby::RoomGame);
    EXPECT_EQ(core.Lobby().User(b).status, lobby::StatusPlaying);

    Feed(2, Packet(pk::GameEnd, 6, static_cast<std::uint16_t>(a)));
    EXPECT_EQ(io.Codes(3), std::vector<std::uint16_t>{pk::GameEnd});
    EXPECT_EQ(core.Lobby().Room(room).state, lobby::RoomOpen);
    EXPECT_EQ(core.Lobby().User(a).status, lobby::StatusFree);
}

TEST_F(RoomsTest, ProfileReviewAndRequestAnswers)
{
    auto profile = Packet(pk::ProfileChange, 14, 6); // claims to be user 6
    profile[8] = 99;
    profile[9] = 30;
    profile[10] = 25;
    Feed(2, profile);
    auto ps = io.Take(3);
    ASSERT_EQ(ps.size(), 1u);
    EXPECT_EQ(ps[0].U16(4), b);
    EXPECT_EQ(ps[0].data[8], 20); // anything but "does not accept" means accept
    EXPECT_EQ(ps[0].data[9], 30);
    EXPECT_EQ(core.Lobby().User(b).level, 25);

    int room = MakeRoom(1, "r");
    Enter(2, room);
    Quiet();
    Feed(3, Packet(pk::ReviewStart, 6, static_cast<std::uint16_t>(a))); // not in that room
    EXPECT_TRUE(io.Take(1).empty());
    Feed(1, Packet(pk::ReviewStart, 6, static_cast<std::uint16_t>(a)));
    EXPECT_EQ(io.Codes(3), std::vector<std::uint16_t>{pk::ReviewStart});
    EXPECT_EQ(core.Lobby().Room(room).state, lobby::RoomReview);

    // A cancelled request reaches the named room member only, from the sender.
    Quiet();
    Feed(2, Packet(pk::GameRequestCancel, 6, static_cast<std::uint16_t>(a)));
    auto got = io.Take(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].arg, b);
    EXPECT_TRUE(io.Take(2).empty() && io.Take(3).empty());
    Feed(2, Packet(pk::GameRequestRefuse, 6, static_cast<std::uint16_t>(c))); // c is elsewhere: the room hears it
    EXPECT_EQ(io.Codes(1), std::vector<std::uint16_t>{pk::GameRequestRefuse});
    EXPECT_TRUE(io.Take(3).empty());
}

TEST_F(RoomsTest, NoFreeRoomGetsANoticeAndChangesNothing)
{
    // Seven users own the seven rooms of the table.
    for (ConnId conn = 4; conn < kTable; ++conn)
        ASSERT_GE(Login(conn, "m" + std::to_string(conn)), 1);
    for (ConnId conn = 1; conn < kTable; ++conn)
        ASSERT_GE(MakeRoom(conn, "full"), 1) << conn;
    ASSERT_EQ(core.Lobby().FreeRoom(), -1);
    int mine = core.Lobby().User(c).room;
    Quiet();
    auto p = Packet(pk::MakeRoom, 60);
    Feed(3, p);
    auto ps = io.Take(3);
    ASSERT_EQ(ps.size(), 1u);
    EXPECT_EQ(ps[0].code, pk::NoticeText);
    EXPECT_EQ(ps[0].arg, 0);
    EXPECT_TRUE(io.Take(1).empty());
    EXPECT_EQ(core.Lobby().User(c).room, mine);
}

TEST_F(RoomsTest, OperatorSwitches)
{
    EXPECT_TRUE(core.Silence("ben", 500, now));
    Feed(3, Text(pk::NoticeText, 0, "x"));
    EXPECT_TRUE(io.Take(2).empty());
    now += 500;
    Feed(3, Text(pk::NoticeText, 0, "x"));
    EXPECT_EQ(io.Codes(2), std::vector<std::uint16_t>{pk::NoticeText});

    Quiet();
    EXPECT_TRUE(core.Bye("cat"));
    EXPECT_EQ(io.Codes(3), std::vector<std::uint16_t>{pk::ServerBye});
    Close(3); // after a bye the close is a departure, not a drop
    EXPECT_FALSE(core.Lobby().ValidUser(c));

    EXPECT_TRUE(core.Kick("ben"));
    EXPECT_FALSE(io.closed.at(2));
    EXPECT_FALSE(core.Kick("nobody"));
    Close(2);
    EXPECT_EQ(core.Users(true), "ben:" + std::to_string(b) + ":0");
    EXPECT_EQ(core.Users(false), "ann:" + std::to_string(a) + ":0");

    core.Refuse(100, now);
    core.OnConnected(9, now);
    EXPECT_TRUE(io.Take(9).empty());
    EXPECT_FALSE(io.closed.at(9));
    core.OnConnected(10, now + 100);
    EXPECT_EQ(io.Codes(10), std::vector<std::uint16_t>{pk::Greeting});
}

} // namespace
} // namespace zel
