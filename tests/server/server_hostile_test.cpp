#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "core/base/Bytes.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"
#include "server/ServerCore.h"
#include "ServerTestIo.h"

namespace zel {
namespace {

// Every code a client may send, with a length it may use.
struct Shape {
    std::uint16_t code;
    std::uint16_t length;
};
constexpr Shape kShapes[] = {
    {pk::Leave, 6},
    {pk::Unused21050, 8},
    {pk::PrivateText, 40},
    {pk::RoomText, 30},
    {pk::NoticeText, 20},
    {pk::MakeRoom, 60},
    {pk::RoomTitle, 60},
    {pk::EnterRoom, 8},
    {pk::ProfileChange, 14},
    {pk::GameInvite, 14},
    {pk::RoomInvite, 14},
    {pk::GameInviteAccept, 14},
    {pk::RoomInviteAccept, 14},
    {pk::RoomInviteRefuse, 42},
    {pk::GameInviteRefuse, 42},
    {pk::GameRequest, 8},
    {pk::GameRequestCancel, 6},
    {pk::GameRequestRefuse, 6},
    {pk::GameEnd, 6},
    {pk::GameStart, 8},
    {pk::ReviewStart, 6},
    {pk::ReviewEnd, 6},
    {pk::Login, 38},
    {pk::ReLogin, 38},
    {pk::Probe, 38},
};

// Every user is where its room says it is, and every number sent is inside the table.
void ExpectConsistent(const TServerLobby& lobby)
{
    for (int r = 0; r < static_cast<int>(lobby.Size()); ++r) {
        for (int m : lobby.Room(r).members) {
            ASSERT_TRUE(lobby.ValidUser(m));
            ASSERT_EQ(lobby.User(m).room, r);
        }
    }
    for (int u = 0; u < static_cast<int>(lobby.Size()); ++u) {
        if (!lobby.ValidUser(u) || lobby.User(u).room < 0)
            continue;
        const auto& members = lobby.Room(lobby.User(u).room).members;
        ASSERT_EQ(std::count(members.begin(), members.end(), u), 1);
    }
    // The lookups kept beside the tables agree with a scan of them.
    std::map<std::uint16_t, int> handles;
    int lowestEmpty = -1;
    for (int n = 1; n < static_cast<int>(lobby.Size()); ++n) {
        if (lowestEmpty < 0 && lobby.Room(n).members.empty())
            lowestEmpty = n;
        if (!lobby.ValidUser(n))
            continue;
        ASSERT_EQ(lobby.FindUser(lobby.User(n).id), n);
        ASSERT_TRUE(handles.emplace(lobby.User(n).handle, n).second) << "handle shared by two users";
    }
    ASSERT_EQ(lobby.FreeRoom(), lowestEmpty);
}

TEST(HostileClients, RandomPacketsKeepTheTablesConsistent)
{
    constexpr std::size_t kTable = 6;
    std::map<std::uint16_t, int> seen; // packets sent, by code, over all seeds
    for (unsigned seed = 1; seed <= 40; ++seed) {
        test::RecordingIo io;
        TServerCore core(io, {kTable, 50, 1000});
        std::mt19937 rng(seed);
        std::uint64_t now = 0;
        // Small numbers mostly, so that many of them name real users and rooms.
        auto number = [&rng]() -> std::uint16_t {
            return static_cast<std::uint16_t>(rng() % 4 == 0 ? rng() : rng() % (kTable + 2));
        };
        for (int step = 0; step < 400; ++step) {
            now += rng() % 40;
            ConnId conn = 1 + rng() % 8;
            switch (rng() % 10) {
            case 0:
                core.OnConnected(conn, now);
                break;
            case 1:
                core.OnClosed(conn, now);
                break;
            case 2:
                core.Tick(now);
                break;
            default: {
                const Shape& shape = kShapes[rng() % std::size(kShapes)];
                std::vector<std::uint8_t> p(shape.length);
                for (auto& byte : p)
                    byte = static_cast<std::uint8_t>(rng() % 3 ? rng() % 12 : rng());
                PacketHeader{shape.code, shape.length, number()}.Encode(p.data());
                for (std::size_t at = 6; at + 1 < p.size() && at < 14; at += 2)
                    PutU16(&p[at], number());
                if (shape.length == 38) {
                    p[20] = static_cast<std::uint8_t>('a' + rng() % 4);
                    p[21] = 0;
                }
                core.OnBytes(conn, p.data(), p.size(), now);
            }
            }
            ExpectConsistent(core.Lobby());
            if (::testing::Test::HasFatalFailure()) {
                ADD_FAILURE() << "seed " << seed << " step " << step;
                return;
            }
        }
        // Nothing sent names a user or room outside the table.
        for (auto& [conn, chunks] : io.sent) {
            (void)chunks;
            for (const test::SentPacket& p : io.Take(conn)) {
                ++seen[p.code];
                if (p.code == pk::UserMoves || p.code == pk::UserLeaves) {
                    EXPECT_LT(p.code == pk::UserMoves ? p.U16(6) : p.arg, kTable) << p.code;
                }
                if (p.code == pk::RoomOpened || p.code == pk::RoomSnapshot || p.code == pk::RoomMembers) {
                    EXPECT_LT(p.U16(4), kTable) << p.code;
                }
            }
        }
    }
    // The walk reaches deep enough to matter.
    for (std::uint16_t code : {pk::LoginAccepted, pk::RoomOpened, pk::UserMoves, pk::RoomText, pk::PrivateText,
                               pk::UserLeaves, pk::RoomInvite, pk::ProbeVerdict})
        EXPECT_GT(seen[code], 0) << code;
}

} // namespace
} // namespace zel
