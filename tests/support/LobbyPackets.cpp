#include "support/LobbyPackets.h"

#include "core/base/Bytes.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"

namespace zel::test {

namespace {

Bytes Make(std::uint16_t code, std::size_t length, std::uint16_t argument = 0)
{
    Bytes b(length, 0);
    PacketHeader{code, static_cast<std::uint16_t>(length), argument}.Encode(b.data());
    return b;
}

void Put16(Bytes& b, std::size_t at, int v)
{
    PutU16(b.data() + at, static_cast<std::uint16_t>(v));
}

} // namespace

Bytes Packet6(std::uint16_t code, std::uint16_t argument)
{
    return Make(code, 6, argument);
}

Bytes LoginAccepted(int user, int room, int n)
{
    Bytes b = Make(pk::LoginAccepted, 12);
    Put16(b, 4, user);
    Put16(b, 6, room);
    Put16(b, 8, n);
    return b;
}

Bytes UserArrives(int user, const std::string& id, const std::string& nick, int level, int status, int handle,
                  int invitations, int profile)
{
    Bytes b = Make(pk::UserArrives, 38);
    b[4] = static_cast<std::uint8_t>(invitations);
    b[5] = static_cast<std::uint8_t>(profile);
    b[6] = static_cast<std::uint8_t>(level);
    b[7] = static_cast<std::uint8_t>(status);
    Put16(b, 10, user);
    Put16(b, 12, handle);
    PutText(b.data() + 20, 8, id);
    PutText(b.data() + 28, 10, nick);
    return b;
}

Bytes UserMoves(int user, int room)
{
    Bytes b = Make(pk::UserMoves, 8);
    Put16(b, 4, user);
    Put16(b, 6, room);
    return b;
}

Bytes RoomRecord(std::uint16_t code, int room, int state, int owner, const std::string& title, int first, int second,
                 int people)
{
    Bytes b = Make(code, 60);
    Put16(b, 4, room);
    Put16(b, 6, state);
    PutU32(b.data() + 8, static_cast<std::uint32_t>(first));
    PutU32(b.data() + 12, static_cast<std::uint32_t>(second));
    PutU32(b.data() + 16, 0xFFFFFFFFu);
    PutU32(b.data() + 20, static_cast<std::uint32_t>(owner));
    PutU32(b.data() + 24, static_cast<std::uint32_t>(people));
    PutText(b.data() + 28, 32, title);
    return b;
}

Bytes RoomMembers(int room, const std::vector<MemberEntry>& members)
{
    Bytes b = Make(pk::RoomMembers, 8 + 34 * members.size());
    Put16(b, 4, room);
    Put16(b, 6, static_cast<int>(members.size()));
    for (std::size_t i = 0; i < members.size(); ++i) {
        std::uint8_t* e = b.data() + 8 + 34 * i;
        e[0] = 20;
        e[1] = 10;
        e[2] = static_cast<std::uint8_t>(members[i].level);
        e[3] = static_cast<std::uint8_t>(members[i].status);
        PutU16(e + 6, static_cast<std::uint16_t>(members[i].user));
        PutU16(e + 8, static_cast<std::uint16_t>(members[i].handle));
        PutText(e + 16, 8, members[i].id);
        PutText(e + 24, 10, members[i].nick);
    }
    return b;
}

Bytes TwoUsers(std::uint16_t code, int a, int b)
{
    Bytes p = Make(code, 8);
    Put16(p, 4, a);
    Put16(p, 6, b);
    return p;
}

Bytes RoomText(std::uint16_t code, int sender, const std::string& text)
{
    Bytes b = Make(code, 6 + text.size());
    Put16(b, 4, sender);
    std::copy(text.begin(), text.end(), b.begin() + 6);
    return b;
}

Bytes PrivateText(int recipient, int sender, const std::string& text)
{
    Bytes b = Make(pk::PrivateText, 12 + text.size());
    Put16(b, 4, recipient);
    Put16(b, 8, sender);
    std::copy(text.begin(), text.end(), b.begin() + 11);
    return b;
}

Bytes Invitation(std::uint16_t code, int inviter, int inviterRoom, int invited, int handle, int room)
{
    Bytes b = Make(code, 14);
    Put16(b, 4, inviter);
    Put16(b, 6, inviterRoom);
    Put16(b, 8, invited);
    Put16(b, 10, handle);
    Put16(b, 12, room);
    return b;
}

Bytes Refusal(std::uint16_t code, int invited, int inviter, int room, const std::string& reason)
{
    Bytes b = Make(code, 42);
    Put16(b, 4, invited);
    Put16(b, 6, inviter);
    Put16(b, 8, room);
    PutText(b.data() + 10, 32, reason);
    return b;
}

} // namespace zel::test
