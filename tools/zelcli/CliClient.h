#pragma once
#include <cstdint>
#include <deque>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "core/net/LobbyDispatch.h"
#include "core/net/LobbyPorts.h"
#include "core/net/PacketAssembler.h"
#include "core/net/PacketQ.h"
#include "core/net/PacketSender.h"
#include "core/ports/Random.h"
#include "core/settings/ZelStatus.h"
#include "os/SocketTransport.h"
#include "os/SteadyClock.h"

namespace zel::cli {

struct Options {
    std::string host = "127.0.0.1";
    std::uint16_t port = 5554;
    bool utf8 = false;
    int defaultWaitMs = 5000;
};

class MtRandom : public Random {
public:
    std::uint32_t Next(std::uint32_t bound) override
    {
        return bound ? std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(engine_) : 0;
    }

private:
    std::mt19937 engine_{std::random_device{}()};
};

// One headless client: a connection, the lobby dispatch and a text message
// queue, driven by command lines. Everything it receives is printed as one
// line on standard output.
class CliClient : public TransportEvents, public LobbyPorts {
public:
    explicit CliClient(Options options);

    // Queues one command line.
    void Command(const std::string& line) { commands_.push_back(line); }
    // Runs commands and the connection until `quit`, or until the commands
    // are used up and `endOfInput` is set. Returns the exit status.
    int Run(int inputFd, bool (*readInput)(CliClient&));
    void EndOfInput() { endOfInput_ = true; }

    // TransportEvents
    void OnConnected() override;
    void OnBytes(const std::uint8_t* data, std::size_t size) override;
    void OnClosed() override;
    void OnError(TransportError error) override;

    // LobbyPorts
    void Print(const std::string& line, bool lineFlag) override;
    void LobbyEntered() override;
    void RoomViewChanged(int kind, int user) override;
    void UserViewChanged(int kind, int user) override;
    void InvitationOpened(const TInvitation& invitation) override;
    void InvitationClosed() override;

private:
    enum class Step { Next, Wait, Quit };
    Step Execute(const std::string& line);
    void Out(const std::string& line);             // one output line, CP949 inside
    std::string In(const std::string& text) const; // command text to CP949
    void HandlePacket(const std::uint8_t* p, std::size_t n);
    void SendLogin();
    void ListUsers();
    void ListRooms();
    bool WaitSatisfied();

    Options options_;
    SteadyClock clock_;
    MtRandom random_;
    SocketTransport transport_;
    PacketAssembler assembler_;
    PacketSender sender_;
    LoginInfo login_;
    FriendsInfo friends_;
    EnvironmentInfo environment_;
    GameSessionPort noGame_;
    TLobbyDispatch dispatch_;
    TPacketQ queue_;
    LobbyIdentity identity_;

    std::deque<std::string> commands_;
    bool endOfInput_ = false;
    std::vector<std::string> history_; // printed lines, for wait
    std::size_t cursor_ = 0;           // wait looks at history_ from here
    bool waiting_ = false;
    std::regex waitFor_;
    std::string waitText_;
    std::int32_t waitUntil_ = 0;
    std::int32_t sleepUntil_ = 0;
    bool sleeping_ = false;
    bool quitting_ = false;
    std::int32_t quitSince_ = 0;
    int status_ = 0;
};

} // namespace zel::cli
