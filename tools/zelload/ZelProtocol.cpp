#include "ZelProtocol.h"

#include <cstring>
#include <vector>

#include "core/app/LoginRecord.h"
#include "core/base/Bytes.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketLayout.h"
#include "core/settings/ZelStatus.h"

namespace zel::load {

namespace {
constexpr std::size_t kRoomRecordSize = 60;
constexpr std::size_t kRoomOwner = 20;
constexpr std::size_t kMemberEntry = 34;
constexpr std::size_t kMembersAt = 8;
constexpr std::uint16_t kRoomOpen = 10;
} // namespace

void TZelProtocol::Connected(TPeer& peer)
{
    peer.assembler = std::make_unique<PacketAssembler>();
}

void TZelProtocol::Send(TPeer& peer, const std::uint8_t* p, std::size_t n)
{
    events_.Send(peer, std::string_view(reinterpret_cast<const char*>(p), n));
}

void TZelProtocol::Bytes(TPeer& peer, const std::uint8_t* data, std::size_t size)
{
    peer.assembler->Feed(data, size, {}, [&](const std::uint8_t* p, std::size_t n) { Packet(peer, p, n); });
}

void TZelProtocol::Packet(TPeer& peer, const std::uint8_t* p, std::size_t n)
{
    PacketHeader h = PacketHeader::Decode(p);
    switch (h.code) {
    case pk::Greeting: {
        LoginInfo login;
        login.userId = login.nickname = "ld" + std::to_string(peer.index);
        login.level = peer.index % 30;
        std::uint8_t b[LoginRecord::kSize];
        LoginRecord::Fill(b, pk::Login, login, 0, 0);
        Send(peer, b, sizeof b);
        break;
    }
    case pk::LoginAccepted:
        peer.user = GetU16(p + 4);
        break;
    case pk::DuplicateLogin:
    case pk::ServerBye:
        events_.LoginRefused(peer);
        break;
    case pk::RoomMembers:
        if (!peer.loggedIn && n >= kMembersAt) {
            std::size_t count = GetU16(p + 6);
            for (std::size_t i = 0; i < count && kMembersAt + (i + 1) * kMemberEntry <= n; ++i) {
                const std::uint8_t* e = p + kMembersAt + i * kMemberEntry;
                if (GetU16(e + 6) == peer.user)
                    peer.handle = GetU16(e + 8);
            }
        }
        break;
    case pk::LobbyEntered:
        if (!peer.loggedIn)
            events_.LoggedIn(peer);
        break;
    case pk::RoomOpened:
        if (peer.making && n >= kRoomRecordSize && GetI32(p + kRoomOwner) == peer.user) {
            peer.making = false;
            events_.RoomKnown(peer, GetU16(p + 4));
            events_.Joined(peer);
        }
        break;
    case pk::UserMoves:
        if (!peer.joined && peer.room > 0 && GetU16(p + pk::at::userMove::kUser) == peer.user &&
            GetU16(p + pk::at::userMove::kRoom) == peer.room)
            events_.Joined(peer);
        break;
    case pk::RoomText:
        events_.Delivered(peer, std::string_view(reinterpret_cast<const char*>(p) + pk::at::roomText::kText,
                                                 n - pk::at::roomText::kText));
        break;
    case pk::PrivateText:
        if (n > pk::at::privateText::kText)
            events_.Delivered(peer, std::string_view(reinterpret_cast<const char*>(p) + pk::at::privateText::kText,
                                                     n - pk::at::privateText::kText - 1));
        break;
    default:
        break;
    }
}

void TZelProtocol::MakeRoom(TPeer& peer, int roomIndex)
{
    std::uint8_t b[kRoomRecordSize] = {};
    PacketHeader{pk::MakeRoom, kRoomRecordSize, 0}.Encode(b);
    PutU16(b + 6, kRoomOpen);
    PutText(b + 28, 31, "load " + std::to_string(roomIndex));
    peer.making = true;
    Send(peer, b, sizeof b);
}

void TZelProtocol::EnterRoom(TPeer& peer, int room)
{
    std::uint8_t b[pk::at::userMove::kSize] = {};
    PacketHeader{pk::EnterRoom, pk::at::userMove::kSize, 0}.Encode(b);
    PutU16(b + pk::at::userMove::kRoom, static_cast<std::uint16_t>(room));
    peer.room = room;
    Send(peer, b, sizeof b);
}

void TZelProtocol::RoomText(TPeer& peer, std::string_view text)
{
    std::uint8_t b[pk::at::roomText::kText + 1024];
    std::size_t n = pk::at::roomText::kText + text.size();
    PacketHeader{pk::RoomText, static_cast<std::uint16_t>(n), static_cast<std::uint16_t>(peer.user)}.Encode(b);
    std::memcpy(b + pk::at::roomText::kText, text.data(), text.size());
    Send(peer, b, n);
}

void TZelProtocol::PrivateText(TPeer& from, const TPeer& to, std::string_view text)
{
    std::uint8_t b[pk::at::privateText::kText + 1025] = {};
    std::size_t n = pk::at::privateText::kText + text.size() + 1;
    PacketHeader{pk::PrivateText, static_cast<std::uint16_t>(n), static_cast<std::uint16_t>(to.user)}.Encode(b);
    PutU16(b + pk::at::privateText::kRecipientHandle, to.handle);
    PutU16(b + pk::at::privateText::kSender, static_cast<std::uint16_t>(from.user));
    std::memcpy(b + pk::at::privateText::kText, text.data(), text.size());
    Send(from, b, n);
}

void TZelProtocol::Leave(TPeer& peer)
{
    std::uint8_t b[6];
    PacketHeader{pk::Leave, 6, 0}.Encode(b);
    Send(peer, b, sizeof b);
}

} // namespace zel::load
