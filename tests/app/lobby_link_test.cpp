#include <gtest/gtest.h>

#include <cstring>

#include "LobbyFixture.h"
#include "core/app/GameLink.h"
#include "core/app/LobbyLink.h"
#include "core/base/Cp949.h"
#include "core/game/BBS2Zel.h"
#include "core/record/HelpList.h"
#include "support/LinkHost.h"
#include "support/GameFakes.h"

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

// A level or profile change confirmed while connected: the server hears of
// it, and what the lobby sends afterwards speaks with the new identity.
TEST_F(LobbyLinkTest, ProfileChangeReachesChatMemosAndRecordsAnswers)
{
    status.login.level = 0;
    status.login.profile = true;
    ToLobby(7, 0);
    game.PeerSends(Arrival(3, "alice", "Alice"));
    std::vector<std::uint8_t> ask = Packet(23010, 12 + 16);
    PutU16(&ask[4], 7);
    PutU16(&ask[8], 3);
    std::memcpy(&ask[11], ">M<\\#alice\\#>P<", 15);
    auto sentTexts = [&] {
        std::string all(game.sent.begin(), game.sent.end());
        game.sent.clear();
        return all;
    };

    status.login.level = 33;
    status.login.profile = false;
    link.ProfileChanged();
    std::string sent = sentTexts();
    ASSERT_GE(sent.size(), 14u);
    EXPECT_EQ(GetU16(reinterpret_cast<const std::uint8_t*>(sent.data())), 26010);

    link.ChatLine("hello");
    EXPECT_NE(sentTexts().find("nick [4P] : hello"), std::string::npos);
    link.Dispatch().SendPrivate(true, 3, "memo");
    EXPECT_NE(sentTexts().find("nick [4P] memo"), std::string::npos);
    // Records hidden now: the request gets no answer.
    game.PeerSends(ask);
    EXPECT_TRUE(game.sent.empty());

    status.login.profile = true;
    link.ProfileChanged();
    sentTexts();
    game.PeerSends(ask);
    EXPECT_NE(sentTexts().find(Utf8ToCp949(") :: 총 0전 0승 0패 0무")), std::string::npos);
}

// The program's wiring: the link's dispatch drives the game session, and the
// connection logic ticks the session's queue and timers.
struct GameWiringTest : ::testing::Test, LobbyFixture {
    GameWiringTest()
        : gameLink(clock, random, LobbySettings{status.login, status.friends, status.environment, nullptr}, host),
          link(app, status, clock, view, &gameLink),
          session(TSessionServices{clock, random, prompts, window, gameLink, dialogs, files, pending})
    {
        gameLink.Attach(link.Dispatch(), link, session);
        app.SetListener(&link);
        app.SetSession(&gameLink);
    }
    test::SeededRandom random{5};
    test::RecordingLinkHost host;
    TGameLink gameLink;
    TLobbyLink link;
    test::RecordingWindow window;
    test::ScriptedDialogs dialogs;
    test::MemoryFileStore files;
    THelpList pending;
    TBBS2Zel session;
};

TEST_F(GameWiringTest, AnnouncedRequestLeavesAsQueuedRoomText)
{
    ToLobby(7, 0);
    game.PeerSends(Arrival(7, "tester", "nick"));
    game.PeerSends(Arrival(3, "alice", "Alice"));
    for (std::uint16_t user : {7, 3}) {
        std::vector<std::uint8_t> move = Packet(22030, 8);
        PutU16(&move[4], user);
        PutU16(&move[6], 5);
        game.PeerSends(move);
    }
    std::vector<std::uint8_t> request = Packet(32030, 8);
    PutU16(&request[4], 7);
    PutU16(&request[6], 3);
    game.PeerSends(request);
    EXPECT_TRUE(session.RequestPending());
    EXPECT_EQ(session.MyId, "tester");
    EXPECT_TRUE(gameLink.Queue().Sending() || gameLink.Queue().Unsent() > 0);

    game.sent.clear();
    Advance(1000);
    std::string text(game.sent.begin(), game.sent.end());
    EXPECT_EQ(GetU16(&game.sent[0]), 23020);
    EXPECT_NE(text.find(">O<"), std::string::npos);
    EXPECT_NE(text.find(">E<"), std::string::npos);
}

} // namespace
} // namespace zel
