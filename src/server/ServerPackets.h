#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "server/ServerLobby.h"

namespace zel {

using Bytes = std::vector<std::uint8_t>;

// Builders of the packets the server sends; every one is complete, header included.
namespace spk {

Bytes Simple(std::uint16_t code, std::uint16_t argument);
// 21030: user number, room number, table size.
Bytes LoginAccepted(int user, int room, std::size_t tableSize);
// 22020: a user arrives in the waiting room.
Bytes UserArrives(const TServerLobby& lobby, int user);
// 22030: a user changes room.
Bytes UserMoves(int user, int room);
// 24020, 24050, 25030: the room record.
Bytes RoomRecord(std::uint16_t code, const TServerLobby& lobby, int room);
// 25040: up to kMembersPerPacket members of a room, starting at `first`.
Bytes RoomMembers(const TServerLobby& lobby, int room, std::size_t first);
constexpr std::size_t kMemberEntry = 34;
constexpr std::size_t kMembersPerPacket = (1708 - 8) / kMemberEntry;
// 26010: a user's profile bytes.
Bytes ProfileChange(const TServerLobby& lobby, int user);
// Two user numbers at offsets 4 and 6 (32030, 33060).
Bytes UserPair(std::uint16_t code, int first, int second);

} // namespace spk
} // namespace zel
