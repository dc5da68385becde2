#include <gtest/gtest.h>

#include <cstring>

#include "LobbyFixture.h"
#include "core/app/LobbyLink.h"
#include "core/base/Cp949.h"

namespace zel {
namespace {

using test::LobbyFixture;
using test::Packet;

std::vector<std::uint8_t> Arrival(std::uint16_t user, const char* id, const char* nickname)
{
    std::vector<std::uint8_t> p = Packet(22020, 38);
    p[4] = 20;
    p[5] = 10;
    p[6] = 20;
    p[7] = 10;
    PutU16(&p[10], user);
    PutU16(&p[12], static_cast<std::uint16_t>(user + 100));
    std::memcpy(&p[20], id, std::strlen(id));
    std::memcpy(&p[28], nickname, std::strlen(nickname));
    return p;
}

struct LobbyLinkTest : ::testing::Test, LobbyFixture {
    LobbyLinkTest() : link(app, status, clock, view) { app.SetListener(&link); }
    TLobbyLink link;
};

TEST_F(LobbyLinkTest, LobbyModelLivesFromLoginToCleanupAndCountsRooms)
{
    EXPECT_EQ(TLobbyLink::RoomCounterText(nullptr), Utf8ToCp949("방 0 개(0 명)"));
    ToLobby(7, 0);
    ASSERT_NE(link.Dispatch().Model(), nullptr);
    EXPECT_EQ(link.Dispatch().Model()->ownUser, 7);
    EXPECT_EQ(link.Dispatch().Identity().id, "tester");

    game.PeerSends(Arrival(3, "alice", "Alice"));
    game.PeerSends(Arrival(4, "bob", "Bob"));
    EXPECT_EQ(TLobbyLink::RoomCounterText(link.Dispatch().Model()), Utf8ToCp949("방 0 개(2 명)"));

    // Typed chat goes out as room text under the own nickname and rank.
    status.login.level = 0;
    link.ChatLine("hello");
    ASSERT_GE(game.sent.size(), 6u);
    EXPECT_EQ(GetU16(&game.sent[0]), 23020);
    std::string text(game.sent.begin() + 6, game.sent.end());
    EXPECT_EQ(text, "nick [18K] : hello");

    game.PeerCloses();
    Advance(8800); // the reconnection never connects
    EXPECT_EQ(link.Dispatch().Model(), nullptr);
    EXPECT_EQ(view.panels[10], Utf8ToCp949("방 0 개(0 명)"));
    game.sent.clear();
    link.ChatLine("anyone?");
    EXPECT_TRUE(game.sent.empty());
}

} // namespace
} // namespace zel
