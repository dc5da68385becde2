#pragma once
// Builders for the server's lobby packets, shared by the net tests.
#include <cstdint>
#include <string>
#include <vector>

namespace zel::test {

using Bytes = std::vector<std::uint8_t>;

Bytes Packet6(std::uint16_t code, std::uint16_t argument);
Bytes LoginAccepted(int user, int room, int n);
Bytes UserArrives(int user, const std::string& id, const std::string& nick, int level, int status = 10, int handle = 0,
                  int invitations = 20, int profile = 10);
Bytes UserMoves(int user, int room);
Bytes RoomRecord(std::uint16_t code, int room, int state, int owner, const std::string& title, int first = -1,
                 int second = -1, int people = 0);
struct MemberEntry {
    int user;
    std::string id, nick;
    int level = 0, status = 10, handle = 0;
};
Bytes RoomMembers(int room, const std::vector<MemberEntry>& members);
Bytes TwoUsers(std::uint16_t code, int a, int b);                        // 32030, 33060 (8 bytes)
Bytes RoomText(std::uint16_t code, int sender, const std::string& text); // 23020, 23030
Bytes PrivateText(int recipient, int sender, const std::string& text);   // 23010
Bytes Invitation(std::uint16_t code, int inviter, int inviterRoom, int invited, int handle, int room);
Bytes Refusal(std::uint16_t code, int invited, int inviter, int room, const std::string& reason);

} // namespace zel::test
