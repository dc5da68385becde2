// The lobby dispatch over a live lobby model: arbitrary server bytes after a
// login, cut into packets by the assembler, with the clock moving between
// packets so that invitations expire and queued messages are delivered.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/base/Bytes.h"
#include "core/net/LobbyDispatch.h"
#include "core/net/LobbyPorts.h"
#include "core/net/PacketAssembler.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketQ.h"
#include "core/net/PacketSender.h"
#include "core/ports/Clock.h"
#include "core/ports/Random.h"
#include "core/ports/Transport.h"
#include "core/settings/ZelStatus.h"

namespace {

class StepClock : public zel::Clock {
public:
    std::int32_t Now() const override { return now; }
    std::int32_t now = 1000;
};

class CountingRandom : public zel::Random {
public:
    std::uint32_t Next(std::uint32_t bound) override { return bound ? (state += 7919) % bound : 0; }
    std::uint32_t state = 1;
};

// Connected, takes every byte and keeps none.
class SinkTransport : public zel::Transport {
public:
    void SetEvents(zel::TransportEvents*) override {}
    void Open(const std::string&, std::uint16_t) override {}
    std::size_t Send(const std::uint8_t*, std::size_t size) override { return size; }
    void Close() override {}
    bool IsConnected() const override { return true; }
    bool IsOpen() const override { return true; }
};

// Answers invitations at once for every other one, so both paths run.
class Ports : public zel::LobbyPorts {
public:
    void Print(const std::string& line, bool) override { printed += line.size(); }
    std::size_t printed = 0;
};

class Game : public zel::GameSessionPort {
public:
    bool IsBlackOfRunningGame() const override { return true; }
    bool HasMultiHost() const override { return true; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    StepClock clock;
    CountingRandom random;
    SinkTransport transport;
    zel::PacketSender sender(transport, nullptr);
    zel::LoginInfo login;
    zel::FriendsInfo friends;
    zel::EnvironmentInfo environment;
    friends.lastPartner = "alice";
    friends.count = 1;
    friends.friends[0].id = "alice";
    Ports ports;
    Game game;
    zel::TLobbyDispatch dispatch(sender, zel::LobbySettings{login, friends, environment, {}}, clock, ports, game);
    zel::TPacketQ queue(clock, random);
    queue.SetOnWire([&](const std::string& piece) { dispatch.SendRoomRaw(piece); });
    dispatch.SetPacketQueue(&queue);
    dispatch.SetIdentity({"me", "Me", 20, 10, 20});

    // Log in with a table size taken from the first byte (0 included).
    std::uint8_t accepted[12] = {};
    zel::PutU16(accepted, zel::pk::LoginAccepted);
    zel::PutU16(accepted + 2, 12);
    zel::PutU16(accepted + 4, static_cast<std::uint16_t>(data[0] % 8));
    zel::PutU16(accepted + 8, static_cast<std::uint16_t>(data[0] % 40));
    dispatch.OnPacket(accepted, sizeof accepted);

    zel::PacketAssembler assembler;
    int delivered = 0;
    assembler.Feed(
        data + 1, size - 1, [] { return true; },
        [&](const std::uint8_t* p, std::size_t n) {
            dispatch.OnPacket(p, n);
            clock.now += 700;
            dispatch.Tick(clock.now);
            queue.Tick(clock.now);
            if (++delivered % 5 == 0 && dispatch.Invitation())
                dispatch.AcceptInvitation();
        });
    // Outgoing operations over whatever the model now holds.
    dispatch.SendRoomInvite(1);
    dispatch.SendGameInvite(2);
    dispatch.SendGameRequest(3);
    dispatch.ChangeTitle("t");
    dispatch.SendPrivateTo("alice", "x", true);
    dispatch.ReportResult(true, "alice", "x", "A");
    dispatch.OnConnectionCleanup();
    return 0;
}
