#pragma once
// One client's lobby for game tests: a real lobby dispatch over a fake
// transport, joined to a game session by a TGameLink. What the client sends
// is taken back as whole packets; what the server delivers goes in by Feed.
#include <cstdint>
#include <string>
#include <vector>

#include "Fakes.h"
#include "LinkHost.h"
#include "LobbyPackets.h"
#include "core/app/GameLink.h"
#include "core/game/BBS2Zel.h"
#include "core/net/LobbyDispatch.h"
#include "core/net/LobbyPorts.h"
#include "core/net/PacketSender.h"
#include "core/settings/ZelStatus.h"

namespace zel::test {

class LinkedLobby : public LobbyPorts {
public:
    LinkedLobby(const Clock& clock, Random& random, const std::string& id, const std::string& nickname, int level = 20);

    // Joins the session; call once the session exists.
    void Attach(TBBS2Zel& session) { link.Attach(dispatch, *this, session); }
    // Logged in as `user`, then placed with `members` (self included) in `room`.
    void Enter(int user, int room, const std::vector<MemberEntry>& members);
    void Feed(const Bytes& packet) { dispatch.OnPacket(packet.data(), packet.size()); }
    // Packets sent since the last call, cut at their headers.
    std::vector<Bytes> TakeSent();

    void Print(const std::string& line, bool) override { lines.push_back(line); }

    FakeTransport transport;
    PacketSender sender{transport, nullptr};
    LoginInfo login;
    FriendsInfo friends;
    EnvironmentInfo environment;
    std::vector<std::string> saved, lines;
    RecordingLinkHost host;
    TGameLink link;
    TLobbyDispatch dispatch;
};

} // namespace zel::test
