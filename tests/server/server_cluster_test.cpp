#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "core/base/Bytes.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"
#include "server/ClusterEvents.h"
#include "server/ServerCore.h"
#include "ServerTestIo.h"

namespace zel {
namespace {

using test::RecordingIo;
using test::SentPacket;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kTable = 8;
constexpr std::uint64_t kGrace = 1000;

// The shared store as the nodes see it: one ordered stream of messages, the
// free numbers and the id claims, run by hand with Pump().
class FakeStore {
public:
    struct Member : TClusterIo {
        FakeStore* store = nullptr;
        int node = 0;
        TServerCore* core = nullptr;
        int Node() const override { return node; }
        bool Up() const override { return store->up; }
        void Publish(const Bytes& e) override { store->Post(-1, e); }
        void PublishTo(int to, const Bytes& e) override { store->Post(to, e); }
        void ClaimUser(ConnId conn, const std::string& id, const Bytes& e) override
        {
            store->ClaimUser(this, conn, id, e);
        }
        void ReleaseUser(int user, const std::string& id, const Bytes& e) override
        {
            auto it = store->ids.find(id);
            if (it == store->ids.end() || it->second != user)
                return;
            store->ids.erase(it);
            store->freeUsers.insert(user);
            store->Post(-1, e);
        }
        void ClaimRoom(const Bytes& e) override
        {
            if (store->freeRooms.empty()) {
                store->queue.push_back([this, e]() { core->OnRoomClaimed(e, store->now); });
                return;
            }
            int n = *store->freeRooms.begin();
            store->freeRooms.erase(store->freeRooms.begin());
            Bytes b = e;
            PutU16(&b[TClusterEvent::kNumberOffset], static_cast<std::uint16_t>(n));
            store->Post(-1, b);
        }
        void ReleaseRoom(int room) override { store->freeRooms.insert(room); }
    };

    FakeStore()
    {
        for (std::size_t n = 1; n < kTable; ++n) {
            freeUsers.insert(static_cast<int>(n));
            freeRooms.insert(static_cast<int>(n));
        }
    }
    void Add(int n, TServerCore& core)
    {
        auto node = std::make_unique<Member>();
        node->store = this;
        node->node = n;
        node->core = &core;
        core.AttachCluster(*node);
        nodes[n] = std::move(node);
    }
    void Post(int to, const Bytes& e)
    {
        if (!up)
            return;
        queue.push_back([this, to, e]() {
            for (auto& [n, node] : nodes) {
                if ((to < 0 || to == n) && !dead.count(n))
                    node->core->OnClusterEvent(e.data(), e.size(), now);
            }
        });
    }
    void ClaimUser(Member* from, ConnId conn, const std::string& id, const Bytes& e)
    {
        int result = 0;
        if (ids.count(id)) {
            result = -ids[id];
        } else if (!freeUsers.empty()) {
            result = *freeUsers.begin();
            freeUsers.erase(freeUsers.begin());
            ids[id] = result;
            Bytes b = e;
            PutU16(&b[TClusterEvent::kNumberOffset], static_cast<std::uint16_t>(result));
            PutU16(&b[TClusterEvent::kHandleOffset], static_cast<std::uint16_t>(++handle));
            Post(-1, b);
        }
        // Answers and messages come on two connections: an answer may overtake
        // the announcement of its own claim.
        queue.push_front([this, from, conn, result]() {
            if (!dead.count(from->node))
                from->core->OnUserClaimed(conn, result, now);
        });
    }
    void Pump()
    {
        while (!queue.empty()) {
            auto next = std::move(queue.front());
            queue.pop_front();
            next();
        }
    }

    bool up = true;
    std::uint64_t now = 0;
    int handle = 0;
    std::map<std::string, int> ids;
    std::set<int> freeUsers, freeRooms, dead;
    std::deque<std::function<void()>> queue;
    std::map<int, std::unique_ptr<Member>> nodes;
};

Bytes Record(std::uint16_t code, const std::string& id, int user = 0)
{
    Bytes r(38, 0);
    PacketHeader{code, 38, 0}.Encode(r.data());
    r[4] = 20;
    r[5] = 10;
    r[6] = 18;
    PutU16(&r[10], static_cast<std::uint16_t>(user));
    PutText(&r[20], 8, id);
    PutText(&r[28], 10, id);
    return r;
}

Bytes Packet(std::uint16_t code, std::size_t length, std::uint16_t arg = 0)
{
    Bytes p(length, 0);
    PacketHeader{code, static_cast<std::uint16_t>(length), arg}.Encode(p.data());
    return p;
}

Bytes RoomText(const std::string& text)
{
    Bytes p = Packet(pk::RoomText, 6 + text.size());
    std::copy(text.begin(), text.end(), p.begin() + 6);
    return p;
}

const SentPacket* Find(const std::vector<SentPacket>& ps, std::uint16_t code)
{
    auto it = std::find_if(ps.begin(), ps.end(), [code](const SentPacket& p) { return p.code == code; });
    return it == ps.end() ? nullptr : &*it;
}

std::string TextOf(const SentPacket& p)
{
    return std::string(p.data.begin() + 6, p.data.end());
}

struct TwoNodes : ::testing::Test {
    RecordingIo io1, io2;
    TServerCore n1{io1, {kTable, kGrace, 60000}};
    TServerCore n2{io2, {kTable, kGrace, 60000}};
    FakeStore store;

    TwoNodes()
    {
        store.Add(1, n1);
        store.Add(2, n2);
    }
    static void Feed(TServerCore& core, ConnId conn, const Bytes& b) { core.OnBytes(conn, b.data(), b.size(), 0); }
    // Logs `id` in on a node's connection and returns its user number (0: refused).
    int Login(TServerCore& core, RecordingIo& io, ConnId conn, const std::string& id, std::uint16_t code = pk::Login,
              int user = 0)
    {
        core.OnConnected(conn, 0);
        Feed(core, conn, Record(code, id, user));
        store.Pump();
        const SentPacket* ok = nullptr;
        auto ps = io.Take(conn);
        ok = Find(ps, pk::LoginAccepted);
        return ok ? ok->U16(4) : 0;
    }
};

TEST_F(TwoNodes, UsersOnBothNodesShareOneTableAndChatInOneRoom)
{
    int a = Login(n1, io1, 1, "alice");
    int b = Login(n2, io2, 1, "bobby");
    ASSERT_EQ(a, 1);
    ASSERT_EQ(b, 2);
    auto seen = io1.Take(1);
    const SentPacket* arrival = Find(seen, pk::UserArrives);
    ASSERT_NE(arrival, nullptr);
    EXPECT_EQ(arrival->U16(10), b);
    EXPECT_EQ(n1.Lobby().User(b).handle, n2.Lobby().User(b).handle);
    // The operator of a node sees the users that node holds, none as dropped.
    EXPECT_EQ(n1.Users(false), "alice:1:0");
    EXPECT_EQ(n1.Users(true), "");

    Feed(n1, 1, Packet(pk::MakeRoom, 60));
    store.Pump();
    int room = n1.Lobby().User(a).room;
    ASSERT_GT(room, 0);
    EXPECT_EQ(n2.Lobby().User(a).room, room);
    Bytes enter = Packet(pk::EnterRoom, 8);
    PutU16(&enter[6], static_cast<std::uint16_t>(room));
    Feed(n2, 1, enter);
    // Sent right behind the move: it must reach the new room, not the old one.
    Feed(n2, 1, RoomText("hello"));
    store.Pump();
    EXPECT_EQ(n1.Lobby().Room(room).members, (std::vector<int>{a, b}));
    EXPECT_EQ(n2.Lobby().Room(room).members, (std::vector<int>{a, b}));
    for (RecordingIo* io : {&io1, &io2}) {
        auto ps = io->Take(1);
        const SentPacket* text = Find(ps, pk::RoomText);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->arg, b);
        EXPECT_EQ(TextOf(*text), "hello");
    }

    // The last member leaving frees the room number for the next room.
    Feed(n1, 1, Packet(pk::Leave, 6));
    Feed(n2, 1, Packet(pk::Leave, 6));
    store.Pump();
    EXPECT_FALSE(n1.Lobby().ValidUser(a));
    EXPECT_FALSE(n2.Lobby().ValidUser(b));
    EXPECT_TRUE(store.freeRooms.count(room));
    EXPECT_TRUE(store.freeUsers.count(a) && store.freeUsers.count(b));
}

TEST_F(TwoNodes, PrivateTextsAndInvitationsCrossNodes)
{
    int a = Login(n1, io1, 1, "alice");
    int b = Login(n2, io2, 1, "bobby");
    io1.Take(1);
    io2.Take(1);
    Bytes tell = Packet(pk::PrivateText, 16, static_cast<std::uint16_t>(b));
    PutU16(&tell[6], n1.Lobby().User(b).handle);
    std::copy_n("hi!", 3, tell.begin() + 11);
    Feed(n1, 1, tell);
    store.Pump();
    auto told = io2.Take(1);
    const SentPacket* got = Find(told, pk::PrivateText);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->U16(8), a);

    Feed(n1, 1, Packet(pk::MakeRoom, 60));
    store.Pump();
    int room = n1.Lobby().User(a).room;
    Bytes invite = Packet(pk::RoomInvite, 14);
    PutU16(&invite[8], static_cast<std::uint16_t>(b));
    Feed(n1, 1, invite);
    store.Pump();
    auto invited = io2.Take(1);
    const SentPacket* asked = Find(invited, pk::RoomInvite);
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(asked->U16(4), a);
    EXPECT_EQ(asked->U16(12), room);
    Bytes accept = Packet(pk::RoomInviteAccept, 14);
    PutU16(&accept[4], static_cast<std::uint16_t>(a));
    Feed(n2, 1, accept);
    store.Pump();
    EXPECT_EQ(n1.Lobby().User(b).room, room);
    EXPECT_EQ(n2.Lobby().User(b).room, room);
}

TEST_F(TwoNodes, ReloginOnAnotherNodeKeepsTheNumberAndADeadNodesUsersLeaveAfterGrace)
{
    Login(n1, io1, 1, "alice");
    int b = Login(n2, io2, 1, "bobby");
    int c = Login(n2, io2, 2, "carol");
    store.dead.insert(2); // node 2 stops: its store messages are no longer read
    n1.OnNodeGone(2, 0);
    store.Pump();
    int again = Login(n1, io1, 3, "bobby", pk::ReLogin, b);
    EXPECT_EQ(again, b);
    EXPECT_TRUE(n1.Lobby().ValidUser(c));

    // carol never comes back: node 1, which took over node 2's users, ends her grace.
    n1.Tick(kGrace - 1);
    store.Pump();
    EXPECT_TRUE(n1.Lobby().ValidUser(c));
    store.now = kGrace;
    n1.Tick(kGrace);
    store.Pump();
    EXPECT_FALSE(n1.Lobby().ValidUser(c));
    EXPECT_TRUE(n1.Lobby().ValidUser(b));
    auto ps = io1.Take(3);
    const SentPacket* leave = Find(ps, pk::UserLeaves);
    ASSERT_NE(leave, nullptr);
    EXPECT_EQ(leave->arg, c);
}

TEST_F(TwoNodes, ASecondLoginOfAnIdOnlineElsewhereIsRefusedAsDuplicate)
{
    Login(n1, io1, 1, "alice");
    n2.OnConnected(1, 0);
    Feed(n2, 1, Record(pk::Login, "alice"));
    store.Pump();
    auto ps = io2.Take(1);
    EXPECT_NE(Find(ps, pk::DuplicateLogin), nullptr);
    EXPECT_EQ(Find(ps, pk::LoginAccepted), nullptr);
}

TEST_F(TwoNodes, ALoginRecordRepeatedWhileTheFirstIsOnItsWayIsIgnored)
{
    n1.OnConnected(1, 0);
    Feed(n1, 1, Record(pk::Login, "alice"));
    Feed(n1, 1, Record(pk::Login, "alice"));
    store.Pump();
    auto ps = io1.Take(1);
    EXPECT_EQ(std::count_if(ps.begin(), ps.end(), [](const SentPacket& p) { return p.code == pk::LoginAccepted; }), 1);
    EXPECT_EQ(Find(ps, pk::DuplicateLogin), nullptr);
    EXPECT_FALSE(io1.closed.count(1));
    store.Pump();
    EXPECT_EQ(n1.Lobby().FindUser("alice"), 1);
    EXPECT_EQ(store.ids.size(), 1u);
}

TEST_F(TwoNodes, ANodeThatLosesTheStoreRefusesLoginsAndKeepsItsUsers)
{
    int a = Login(n1, io1, 1, "alice");
    io1.Take(1);
    store.up = false;
    n1.OnClusterLost(0);
    EXPECT_EQ(Login(n1, io1, 2, "dave"), 0);
    EXPECT_TRUE(io1.closed.count(2));
    EXPECT_FALSE(io1.closed.count(1));
    Feed(n1, 1, RoomText("still here"));
    auto ps = io1.Take(1);
    const SentPacket* echo = Find(ps, pk::RoomText);
    ASSERT_NE(echo, nullptr);
    EXPECT_EQ(echo->arg, a);
}

TEST(ClusterEvent, RoundTripsAndRejectsBrokenMessages)
{
    TClusterEvent e;
    e.kind = ClusterKind::Login;
    e.origin = 3;
    e.number = 7;
    e.conn = 0x12345678;
    e.id = "alice";
    e.nick = "nick";
    e.data = {1, 2, 3};
    Bytes b = e.Encode();
    auto back = TClusterEvent::Decode(b.data(), b.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->conn, e.conn);
    EXPECT_EQ(back->id, "alice");
    EXPECT_EQ(back->nick, "nick");
    EXPECT_EQ(back->data, e.data);
    EXPECT_EQ(GetU16(&b[TClusterEvent::kNumberOffset]), 7);

    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"cut in the id", Bytes(b.begin(), b.begin() + 20)},
        {"unknown kind",
         [&] {
             Bytes x = b;
             x[0] = 99;
             return x;
         }()},
        {"id too long",
         [&] {
             Bytes x = b;
             x[17] = 200;
             return x;
         }()},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(TClusterEvent::Decode(c.bytes.data(), c.bytes.size())) << c.what;
}

} // namespace
} // namespace zel
