#include "server/ServerPackets.h"

#include <algorithm>

#include "core/base/Bytes.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"

namespace zel::spk {

namespace {

Bytes Make(std::uint16_t code, std::size_t length, std::uint16_t argument = 0)
{
    Bytes b(length, 0);
    PacketHeader{code, static_cast<std::uint16_t>(length), argument}.Encode(b.data());
    return b;
}

std::uint16_t U16(int n)
{
    return static_cast<std::uint16_t>(n);
}
std::uint32_t U32(int n)
{
    return static_cast<std::uint32_t>(n);
}

} // namespace

Bytes Simple(std::uint16_t code, std::uint16_t argument)
{
    return Make(code, 6, argument);
}

Bytes LoginAccepted(int user, int room, std::size_t tableSize)
{
    Bytes b = Make(pk::LoginAccepted, 12, U16(user));
    PutU16(&b[4], U16(user));
    PutU16(&b[6], U16(room));
    PutU16(&b[8], static_cast<std::uint16_t>(tableSize));
    return b;
}

Bytes UserArrives(const TServerLobby& lobby, int user)
{
    const TServerUser& u = lobby.User(user);
    Bytes b = Make(pk::UserArrives, 38);
    b[4] = u.invitations;
    b[5] = u.profile;
    b[6] = u.level;
    b[7] = u.status;
    PutU16(&b[10], U16(user));
    PutU16(&b[12], u.handle);
    PutText(&b[20], 8, u.id);
    PutText(&b[28], 10, u.nickname);
    return b;
}

Bytes UserMoves(int user, int room)
{
    Bytes b = Make(pk::UserMoves, 8);
    PutU16(&b[4], U16(user));
    PutU16(&b[6], U16(room));
    return b;
}

Bytes RoomRecord(std::uint16_t code, const TServerLobby& lobby, int room)
{
    const TServerRoom& r = lobby.Room(room);
    Bytes b = Make(code, 60);
    PutU16(&b[4], U16(room));
    PutU16(&b[6], r.state);
    PutU32(&b[8], U32(r.first));
    PutU32(&b[12], U32(r.second));
    PutU32(&b[16], U32(-1));
    PutU32(&b[20], U32(r.owner));
    PutU32(&b[24], static_cast<std::uint32_t>(r.members.size()));
    std::copy(r.title.begin(), r.title.end(), b.begin() + 28);
    return b;
}

Bytes RoomMembers(const TServerLobby& lobby, int room, std::size_t first)
{
    const std::vector<int>& members = lobby.Room(room).members;
    std::size_t count = first < members.size() ? std::min(kMembersPerPacket, members.size() - first) : 0;
    Bytes b = Make(pk::RoomMembers, 8 + count * kMemberEntry);
    PutU16(&b[4], U16(room));
    PutU16(&b[6], static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        int n = members[first + i];
        const TServerUser& u = lobby.User(n);
        std::uint8_t* e = &b[8 + i * kMemberEntry];
        e[0] = u.invitations;
        e[1] = u.profile;
        e[2] = u.level;
        e[3] = u.status;
        PutU16(e + 6, U16(n));
        PutU16(e + 8, u.handle);
        PutText(e + 16, 8, u.id);
        PutText(e + 24, 10, u.nickname);
    }
    return b;
}

Bytes ProfileChange(const TServerLobby& lobby, int user)
{
    const TServerUser& u = lobby.User(user);
    Bytes b = Make(pk::ProfileChange, 14);
    PutU16(&b[4], U16(user));
    PutU16(&b[6], U16(std::max(u.room, 0)));
    b[8] = u.invitations;
    b[9] = u.profile;
    b[10] = u.level;
    return b;
}

Bytes UserPair(std::uint16_t code, int first, int second)
{
    Bytes b = Make(code, 8);
    PutU16(&b[4], U16(first));
    PutU16(&b[6], U16(second));
    return b;
}

} // namespace zel::spk
