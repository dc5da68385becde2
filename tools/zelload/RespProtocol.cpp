#include "RespProtocol.h"

#include <charconv>

namespace zel::load {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;
constexpr std::size_t kRecordSize = 38;
constexpr int kMaxDepth = 8;

// The number after the type byte up to CRLF; `end` is past the CRLF.
bool Line(std::string_view d, std::size_t at, long long& value, std::size_t& end, bool& complete)
{
    std::size_t crlf = d.find("\r\n", at);
    complete = crlf != kNpos;
    if (!complete)
        return true;
    end = crlf + 2;
    auto [p, ec] = std::from_chars(d.data() + at, d.data() + crlf, value);
    return ec == std::errc() && p == d.data() + crlf;
}

// Spans one element; fills `bulk` with its content when it is a string.
std::size_t Span(std::string_view d, std::size_t at, int depth, std::string_view* bulk)
{
    if (at >= d.size())
        return 0;
    if (depth > kMaxDepth)
        return kNpos;
    char type = d[at];
    std::size_t end = 0;
    bool complete = false;
    switch (type) {
    case '+':
    case '-':
    case ':':
    case ',':
    case '#':
    case '_':
    case '(': {
        std::size_t crlf = d.find("\r\n", at);
        if (crlf == kNpos)
            return 0;
        if (bulk)
            *bulk = d.substr(at + 1, crlf - at - 1);
        return crlf + 2 - at;
    }
    case '$':
    case '=':
    case '!': {
        long long n = 0;
        if (!Line(d, at + 1, n, end, complete))
            return kNpos;
        if (!complete)
            return 0;
        if (n < 0)
            return end - at;
        if (end + static_cast<std::size_t>(n) + 2 > d.size())
            return 0;
        if (bulk)
            *bulk = d.substr(end, static_cast<std::size_t>(n));
        return end + static_cast<std::size_t>(n) + 2 - at;
    }
    case '*':
    case '>':
    case '~':
    case '%':
    case '|': {
        long long n = 0;
        if (!Line(d, at + 1, n, end, complete))
            return kNpos;
        if (!complete)
            return 0;
        if (n < 0)
            return end - at;
        long long items = (type == '%' || type == '|') ? 2 * n : n;
        std::size_t pos = end;
        for (long long i = 0; i < items; ++i) {
            std::size_t s = Span(d, pos, depth + 1, nullptr);
            if (s == 0 || s == kNpos)
                return s;
            pos += s;
        }
        return pos - at;
    }
    default:
        return kNpos;
    }
}

std::string_view Record(const TPeer& peer, char (&buf)[kRecordSize])
{
    std::string id = "ld" + std::to_string(peer.index);
    for (std::size_t i = 0; i < kRecordSize; ++i)
        buf[i] = i < id.size() ? id[i] : '\0';
    return std::string_view(buf, kRecordSize);
}

} // namespace

std::size_t ParseResp(std::string_view data, TRespElement& out)
{
    out = TRespElement{};
    if (data.empty())
        return 0;
    std::size_t total = Span(data, 0, 0, &out.text);
    if (total == 0 || total == kNpos)
        return total;
    out.type = data[0];
    if (out.type == '>' || out.type == '*') {
        long long n = 0;
        std::size_t end = 0;
        bool complete = false;
        Line(data, 1, n, end, complete);
        for (long long i = 0; i < n && out.items.size() < 3; ++i) {
            std::string_view item;
            std::size_t s = Span(data, end, 1, &item);
            out.items.push_back(item);
            end += s;
        }
    }
    return total;
}

std::string RespCommand(const std::vector<std::string_view>& args)
{
    std::string out = "*" + std::to_string(args.size()) + "\r\n";
    for (std::string_view a : args) {
        out += "$" + std::to_string(a.size()) + "\r\n";
        out.append(a);
        out += "\r\n";
    }
    return out;
}

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
