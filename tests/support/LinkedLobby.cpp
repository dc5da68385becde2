#include "LinkedLobby.h"

#include "core/base/Bytes.h"

namespace zel::test {

LinkedLobby::LinkedLobby(const Clock& clock, Random& random, const std::string& id, const std::string& nickname,
                         int level)
    : link(clock, random,
           LobbySettings{login, friends, environment, [this](const std::string& s) { saved.push_back(s); }}, host),
      dispatch(sender, LobbySettings{login, friends, environment, [this](const std::string& s) { saved.push_back(s); }},
               clock, *this, link)
{
    transport.Open("sim", 1);
    transport.PeerAccepts();
    LobbyIdentity identity;
    identity.id = id;
    identity.nickname = nickname;
    identity.level = level;
    dispatch.SetIdentity(identity);
}

void LinkedLobby::Enter(int user, int room, const std::vector<MemberEntry>& members)
{
    Feed(LoginAccepted(user, 0, 16));
    Feed(RoomMembers(room, members));
}

std::vector<Bytes> LinkedLobby::TakeSent()
{
    std::vector<Bytes> out;
    std::size_t at = 0;
    while (at + 6 <= transport.sent.size()) {
        std::size_t len = GetU16(transport.sent.data() + at + 2);
        if (len < 6 || at + len > transport.sent.size())
            break;
        out.emplace_back(transport.sent.begin() + at, transport.sent.begin() + at + len);
        at += len;
    }
    transport.sent.erase(transport.sent.begin(), transport.sent.begin() + static_cast<std::ptrdiff_t>(at));
    return out;
}

} // namespace zel::test
