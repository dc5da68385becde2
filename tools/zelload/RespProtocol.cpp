#include "RespProtocol.h"

namespace zel::load {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;
constexpr std::size_t kRecordSize = 38;
constexpr std::size_t kKeptCapacity = 64 * 1024;

std::string_view Record(const TPeer& peer, char (&buf)[kRecordSize])
{
    std::string id = "ld" + std::to_string(peer.index);
    for (std::size_t i = 0; i < kRecordSize; ++i)
        buf[i] = i < id.size() ? id[i] : '\0';
    return std::string_view(buf, kRecordSize);
}

} // namespace

void TRespProtocol::Connected(TPeer& peer)
{
    char buf[kRecordSize];
    std::string key = std::to_string(peer.index);
    std::string user = "user:" + key;
    peer.user = peer.index;
    std::string out = RespCommand({"HELLO", "3"}) + RespCommand({"SUBSCRIBE", "lobby", user}) +
                      RespCommand({"HSET", "lobby:users", key, Record(peer, buf)}) +
                      RespCommand({"PUBLISH", "lobby", Record(peer, buf)}) + RespCommand({"HGETALL", "lobby:users"});
    events_.Send(peer, out);
}

void TRespProtocol::Bytes(TPeer& peer, const std::uint8_t* data, std::size_t size)
{
    peer.in.append(reinterpret_cast<const char*>(data), size);
    std::size_t at = 0;
    TRespElement e;
    for (;;) {
        std::size_t n = ParseResp(std::string_view(peer.in).substr(at), e);
        if (n == 0)
            break;
        if (n == kNpos) {
            at = peer.in.size();
            break;
        }
        Element(peer, e);
        at += n;
    }
    peer.in.erase(0, at);
    // The lobby reply of a late login is large: thousands of users must not
    // each keep a buffer of that size.
    if (peer.in.empty() && peer.in.capacity() > kKeptCapacity)
        std::string().swap(peer.in);
}

void TRespProtocol::Element(TPeer& peer, const TRespElement& e)
{
    if (e.type == '>' && e.items.size() == 3) {
        if (e.items[0] == "message") {
            if (e.items[1] != "lobby")
                events_.Delivered(peer, e.items[2]);
        } else if (e.items[0] == "subscribe" && peer.room > 0 && e.items[1] == "room:" + std::to_string(peer.room)) {
            if (peer.making) {
                peer.making = false;
                events_.RoomKnown(peer, peer.room);
            }
            events_.Joined(peer);
        }
        return;
    }
    // HELLO answers with a map first; the second map is the HGETALL answer, the lobby.
    if (e.type == '%' && !peer.loggedIn && ++peer.maps == 2)
        events_.LoggedIn(peer);
}

void TRespProtocol::MakeRoom(TPeer& peer, int roomIndex)
{
    peer.making = true;
    EnterRoom(peer, roomIndex + 1);
}

void TRespProtocol::EnterRoom(TPeer& peer, int room)
{
    peer.room = room;
    events_.Send(peer, RespCommand({"SUBSCRIBE", "room:" + std::to_string(room)}));
}

void TRespProtocol::RoomText(TPeer& peer, std::string_view text)
{
    events_.Send(peer, RespCommand({"PUBLISH", "room:" + std::to_string(peer.room), text}));
}

void TRespProtocol::PrivateText(TPeer& from, const TPeer& to, std::string_view text)
{
    events_.Send(from, RespCommand({"PUBLISH", "user:" + std::to_string(to.index), text}));
}

void TRespProtocol::Leave(TPeer& peer)
{
    events_.Send(peer, RespCommand({"HDEL", "lobby:users", std::to_string(peer.index)}));
}

} // namespace zel::load
