#include "core/net/PacketSender.h"

#include "core/base/Bytes.h"
#include "core/net/PacketCodes.h"
#include "core/ports/Transport.h"

#include <cstring>
#include <vector>

namespace zel {

PacketSender::Record PacketSender::Find(std::uint16_t code) const
{
    auto rec = [](const auto& a) { return Record{const_cast<std::uint8_t*>(a.data()), a.size()}; };
    switch (code) {
    case pk::Unused10000:
    case pk::Unused11050:
    case pk::Leave:
    case pk::GameRequestCancel:
    case pk::GameRequestRefuse:
    case pk::GameEnd:
    case pk::ReviewStart:
    case pk::ReviewEnd:
        return rec(header6_);
    case pk::Login:
    case pk::ReLogin:
    case pk::Probe:
        return rec(login_);
    case pk::Unused21050:
    case pk::EnterRoom:
        return rec(enter_);
    case pk::RoomText:
    case pk::NoticeText:
        return rec(roomText_);
    case pk::PrivateText:
        return rec(privText_);
    case pk::MakeRoom:
    case pk::RoomTitle:
        return rec(room_);
    case pk::GameInvite:
    case pk::RoomInvite:
    case pk::GameInviteAccept:
    case pk::RoomInviteAccept:
        return rec(invite_);
    case pk::RoomInviteRefuse:
    case pk::GameInviteRefuse:
        return rec(refuse_);
    case pk::ProfileChange:
        return rec(profile_);
    case pk::GameRequest:
        return rec(request_);
    case pk::GameStart:
        return rec(start_);
    default:
        return Record{nullptr, 0};
    }
}

std::uint8_t* PacketSender::Staging(std::uint16_t code)
{
    return Find(code).data;
}

std::size_t PacketSender::StagingSize(std::uint16_t code) const
{
    return Find(code).size;
}

void PacketSender::Clear()
{
    for (std::uint16_t code :
         {pk::Leave, pk::Login, pk::EnterRoom, pk::RoomText, pk::PrivateText, pk::MakeRoom, pk::GameInvite,
          pk::RoomInviteRefuse, pk::ProfileChange, pk::GameRequest, pk::GameStart}) {
        Record r = Find(code);
        std::memset(r.data, 0, r.size);
    }
}

bool PacketSender::SendPacket(std::uint16_t code, std::size_t length)
{
    Record r = Find(code);
    if (r.data == nullptr || length < 6 || length > r.size)
        return false;
    if (maySend_ && !maySend_())
        return false;
    if (!transport_.IsConnected())
        return false;
    PutU16(r.data, code);
    PutU16(r.data + 2, static_cast<std::uint16_t>(length));
    std::vector<std::uint8_t> pending(r.data, r.data + length);
    std::size_t offset = 0;
    for (int attempt = 0; attempt < kMaxPartialWrites; ++attempt) {
        if (!transport_.IsConnected())
            return false;
        offset += transport_.Send(pending.data() + offset, pending.size() - offset);
        if (offset >= pending.size())
            return true;
    }
    return false;
}

} // namespace zel
