#pragma once
// A logged-in lobby dispatch over a fake transport, with the chat logic on
// top, for the lobby tests.
#include <string>
#include <vector>

#include "core/base/Bytes.h"
#include "core/lobby/LobbyChat.h"
#include "core/net/LobbyDispatch.h"
#include "core/net/LobbyPorts.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketSender.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"
#include "support/LobbyPackets.h"

namespace zel::test {

struct ChatPorts : LobbyChatPorts {
    std::vector<std::string> printed, notices, gameCommands, memoLines;
    std::vector<int> hidden;
    bool playing = false;
    int quits = 0, clears = 0;
    int online = -1, stored = -1;
    void Print(const std::string& line) override { printed.push_back(line); }
    void Notify(const std::string& text, int) override { notices.push_back(text); }
    bool GameInProgress() const override { return playing; }
    void GameCommand(const std::string& line) override { gameCommands.push_back(line); }
    void Quit() override { ++quits; }
    void ClearMultiBoards() override { ++clears; }
    void ShowMemo(int window, const std::string& line, bool) override
    {
        memoLines.push_back(std::to_string(window) + ":" + line);
    }
    void HideMemo(int window) override { hidden.push_back(window); }
    void FriendCounterChanged(int o, int s) override
    {
        online = o;
        stored = s;
    }
};

struct SentPacket {
    std::uint16_t code;
    Bytes bytes;
    int U16(std::size_t at) const { return GetU16(bytes.data() + at); }
    std::string Text(std::size_t at) const
    {
        std::string s(bytes.begin() + static_cast<long>(at), bytes.end());
        return s.substr(0, s.find('\0'));
    }
};

// Own user 1 ("me") in the waiting room with "alice" (2) and "bob" (3).
struct LobbyWorld {
    FakeTransport transport;
    PacketSender sender{transport, nullptr};
    LoginInfo login;
    FriendsInfo friends;
    EnvironmentInfo environment;
    ManualClock clock{5000};
    LobbyPorts lobbyPorts;
    GameSessionPort game;
    TLobbyDispatch d{sender, LobbySettings{login, friends, environment, [](const std::string&) {}}, clock, lobbyPorts,
                     game};
    ChatPorts ports;
    TLobbyChat chat{d, friends, clock, ports};

    explicit LobbyWorld(bool enter = true)
    {
        transport.Open("h", 1);
        transport.PeerAccepts();
        d.SetIdentity({"me", "Me", 20, 10, 20});
        chat.ConnectionOpened();
        Feed(LoginAccepted(1, 0, 40));
        chat.LoginAccepted();
        Feed(RoomMembers(0, {{1, "me", "Me", 20}, {2, "alice", "Alice", 13, 10, 77}, {3, "bob", "Bob", 20}}));
        if (enter) {
            Feed(Packet6(pk::LobbyEntered, 0));
            chat.LobbyEntered();
        }
        Sent();
    }
    void Feed(const Bytes& b) { d.OnPacket(b.data(), b.size()); }
    TCManager& M() { return *d.Model(); }
    // Types a line a millisecond after the previous one.
    void Type(const std::string& line)
    {
        clock.Advance(1);
        chat.ChatBoxLine(line);
    }
    std::vector<SentPacket> Sent()
    {
        std::vector<SentPacket> out;
        std::size_t at = 0;
        while (at + 6 <= transport.sent.size()) {
            std::size_t len = GetU16(transport.sent.data() + at + 2);
            Bytes b(transport.sent.begin() + static_cast<long>(at),
                    transport.sent.begin() + static_cast<long>(at + len));
            out.push_back({GetU16(b.data()), b});
            at += len;
        }
        transport.sent.clear();
        return out;
    }
};

} // namespace zel::test
