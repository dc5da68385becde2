#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/net/PacketAssembler.h"

namespace zel::load {

// One simulated user: its socket, pending output and what the server told it.
struct TPeer {
    int fd = -1;
    int index = 0;   // the driver's number for it, from 0
    std::string out; // bytes not yet taken by the socket
    std::size_t outAt = 0;
    bool wantWrite = false;
    bool connected = false;
    bool closed = false;
    bool loggedIn = false;
    bool leaving = false; // sent its leave; the close that follows is no loss
    bool making = false;  // waits for its own room to open
    int user = -1;        // number the server gave it
    std::uint16_t handle = 0;
    int room = -1; // the room it was sent to, once known
    bool joined = false;
    std::int64_t loginStartUs = 0;
    std::unique_ptr<PacketAssembler> assembler; // game-server framing
    std::string in;                             // Redis replies not yet complete
    int maps = 0;                               // Redis map replies seen
};

// What a protocol reports to the driver.
class TPeerEvents {
public:
    virtual ~TPeerEvents() = default;
    virtual void LoggedIn(TPeer& peer) = 0;
    virtual void LoginRefused(TPeer& peer) = 0;
    virtual void RoomKnown(TPeer& maker, int room) = 0;
    virtual void Joined(TPeer& peer) = 0;
    virtual void Delivered(TPeer& peer, std::string_view text) = 0;
    // Appends bytes to the peer's output and writes what the socket takes.
    virtual void Send(TPeer& peer, std::string_view bytes) = 0;
};

// One wire protocol spoken by the simulated users.
class TProtocol {
public:
    virtual ~TProtocol() = default;
    virtual void Connected(TPeer& peer) = 0;
    virtual void Bytes(TPeer& peer, const std::uint8_t* data, std::size_t size) = 0;
    virtual void MakeRoom(TPeer& peer, int roomIndex) = 0;
    virtual void EnterRoom(TPeer& peer, int room) = 0;
    virtual void RoomText(TPeer& peer, std::string_view text) = 0;
    virtual void PrivateText(TPeer& from, const TPeer& to, std::string_view text) = 0;
    virtual void Leave(TPeer& peer) = 0;
};

} // namespace zel::load
