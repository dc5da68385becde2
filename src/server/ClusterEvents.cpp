#include "server/ClusterEvents.h"

#include "core/base/Bytes.h"

namespace zel {

namespace {

constexpr std::size_t kFixed = 17; // kind, origin, actor, number, a, b, c, conn
constexpr std::size_t kMaxId = 8;
constexpr std::size_t kMaxNick = 10;

void PutShort(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

} // namespace

std::vector<std::uint8_t> TClusterEvent::Encode() const
{
    std::vector<std::uint8_t> out;
    out.reserve(kFixed + 2 + id.size() + nick.size() + data.size());
    out.push_back(static_cast<std::uint8_t>(kind));
    for (std::uint16_t v : {origin, actor, number, a, b, c})
        PutShort(out, v);
    PutShort(out, static_cast<std::uint16_t>(conn & 0xFFFF));
    PutShort(out, static_cast<std::uint16_t>(conn >> 16));
    out.push_back(static_cast<std::uint8_t>(id.size()));
    out.insert(out.end(), id.begin(), id.end());
    out.push_back(static_cast<std::uint8_t>(nick.size()));
    out.insert(out.end(), nick.begin(), nick.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::optional<TClusterEvent> TClusterEvent::Decode(const std::uint8_t* p, std::size_t n)
{
    if (n < kFixed + 2 || p[0] < static_cast<std::uint8_t>(ClusterKind::Login) ||
        p[0] > static_cast<std::uint8_t>(ClusterKind::Invite))
        return std::nullopt;
    TClusterEvent e;
    e.kind = static_cast<ClusterKind>(p[0]);
    e.origin = GetU16(p + 1);
    e.actor = GetU16(p + 3);
    e.number = GetU16(p + 5);
    e.a = GetU16(p + 7);
    e.b = GetU16(p + 9);
    e.c = GetU16(p + 11);
    e.conn = static_cast<std::uint32_t>(GetU16(p + 13)) | (static_cast<std::uint32_t>(GetU16(p + 15)) << 16);
    std::size_t at = kFixed;
    std::size_t idLength = p[at++];
    if (idLength > kMaxId || at + idLength + 1 > n)
        return std::nullopt;
    e.id.assign(reinterpret_cast<const char*>(p + at), idLength);
    at += idLength;
    std::size_t nickLength = p[at++];
    if (nickLength > kMaxNick || at + nickLength > n)
        return std::nullopt;
    e.nick.assign(reinterpret_cast<const char*>(p + at), nickLength);
    at += nickLength;
    if (n - at > kMaxData)
        return std::nullopt;
    e.data.assign(p + at, p + n);
    return e;
}

} // namespace zel
