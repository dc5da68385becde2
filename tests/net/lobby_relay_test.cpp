#include <gtest/gtest.h>

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/net/LobbyDispatch.h"
#include "core/net/LobbyPorts.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketQ.h"
#include "core/net/PacketSender.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"
#include "support/LobbyPackets.h"

namespace zel {
namespace {

// One client: dispatch, queue and a transport whose bytes the relay reads.
struct Client {
    test::FakeTransport transport;
    PacketSender sender{transport, nullptr};
    LoginInfo login;
    FriendsInfo friends;
    EnvironmentInfo environment;
    LobbyPorts ports;
    GameSessionPort game;
    test::SeededRandom random;
    TLobbyDispatch d;
    TPacketQ q;
    std::vector<std::string> messages;

    Client(const test::ManualClock& clock, int user, std::uint64_t seed)
        : random(seed), d(sender, LobbySettings{login, friends, environment, {}}, clock, ports, game), q(clock, random)
    {
        transport.Open("h", 1);
        transport.PeerAccepts();
        d.SetPacketQueue(&q);
        q.SetOnWire([this](const std::string& piece) { d.SendRoomRaw(piece); });
        q.SetOnMessage([this](const std::string& m) { messages.push_back(m); });
        auto b = test::LoginAccepted(user, 0, 8);
        d.OnPacket(b.data(), b.size());
    }
};

// Room text from one client goes to every client, the sender included, as
// the server relays it.
TEST(LobbyRelay, LongKoreanMessageReachesTheOthersButNotTheSender)
{
    test::ManualClock clock(0);
    std::vector<std::unique_ptr<Client>> clients;
    for (int u = 1; u <= 3; ++u)
        clients.push_back(std::make_unique<Client>(clock, u, 10 + u));
    std::string korean;
    while (korean.size() < 2000)
        korean += KS("한글");
    std::string message = "XA" + korean;
    ASSERT_TRUE(clients[0]->q.Enqueue(message));

    for (int tick = 0; tick < 20; ++tick) {
        clock.Advance(200);
        for (auto& c : clients) {
            c->q.Tick(clock.Now());
            std::vector<std::uint8_t> sent;
            sent.swap(c->transport.sent);
            std::size_t at = 0;
            while (at + 6 <= sent.size()) {
                std::size_t len = GetU16(sent.data() + at + 2);
                ASSERT_EQ(GetU16(sent.data() + at), pk::RoomText);
                for (auto& to : clients)
                    to->d.OnPacket(sent.data() + at, len);
                at += len;
            }
        }
    }
    EXPECT_TRUE(clients[0]->messages.empty());
    for (int i = 1; i < 3; ++i) {
        ASSERT_EQ(clients[i]->messages.size(), 1u);
        const std::string& got = clients[i]->messages[0];
        EXPECT_EQ(got.substr(0, 2) + got.substr(4), message);
    }
}

} // namespace
} // namespace zel
