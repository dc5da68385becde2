#pragma once
#include <cstddef>
#include <cstdint>

namespace zel {

// Receives every packet that the game connection delivers, after the
// connection logic has acted on the life-cycle codes (21000, 20030, 20040,
// 21030, 25020). The lobby dispatch implements it.
class PacketListener {
public:
    virtual ~PacketListener() = default;
    virtual void OnPacket(const std::uint8_t* packet, std::size_t length) = 0;
    // The connection was lost or closed and its cleanup runs: drop the lobby
    // model and everything that hangs on it.
    virtual void OnConnectionCleanup() = 0;
};

} // namespace zel
