#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zel {

// What the nodes of one service tell each other through Redis. Lobby events
// go to every node in one order and change every node's copy of the lobby;
// deliveries go to the nodes that hold the addressees and change nothing.
enum class ClusterKind : std::uint8_t {
    Login = 1, // number: the user; a, b, c: invitations, profile, handle; data: the level; conn: the waiting connection
               // on the origin
    Leave,     // number: the user; id: the id it must still have
    Drop,      // number: the user lost its connection and waits for re-login
    Takeover,  // number: the user re-logged in on the origin; conn as for Login
    NodeDown,  // number: the node whose users the origin now holds in grace
    Move,      // number: the user; a: the room it enters
    Open,      // number: the room; a: the owner; b: the state; data: the title
    Match,     // number: the room; a: the inviter; b: the invited; data: the title
    Title,     // number: the room; data: the title
    Profile,   // number: the user; a: invitations, b: profile, c: level
    GameStart, // a: black, b: white
    GameEnd,   // number: the user whose game ends
    Review,    // number: the user; a: 24030 or 24040
    DeliverUser, // number: the user; data: the packet
    DeliverRoom, // number: the room; a: a member left out (or 0xFFFF); data: the packet
    DeliverAll,  // data: the packet, for every user but those of the origin
    Invite,      // number: the invited; a: the room; b: the code; data: the invitation packet
};

struct TClusterEvent {
    ClusterKind kind = ClusterKind::Login;
    std::uint16_t origin = 0; // the node that sent it
    std::uint16_t actor = 0;  // the user on the origin whose packet caused it (0: none)
    std::uint16_t number = 0;
    std::uint16_t a = 0, b = 0, c = 0;
    std::uint32_t conn = 0;
    std::string id;   // CP949, at most 8 bytes
    std::string nick; // CP949, at most 10 bytes
    std::vector<std::uint8_t> data;

    // Redis writes a claimed user or room number at this offset before it
    // publishes, and a login's handle at the next.
    static constexpr std::size_t kNumberOffset = 5;
    static constexpr std::size_t kHandleOffset = 11;
    static constexpr std::size_t kMaxData = 65535;

    std::vector<std::uint8_t> Encode() const;
    // Nothing for bytes that are not one whole event.
    static std::optional<TClusterEvent> Decode(const std::uint8_t* p, std::size_t n);
};

} // namespace zel
