#include "core/net/PacketHeader.h"

#include "core/base/Bytes.h"
#include "core/net/PacketCodes.h"

namespace zel {

PacketHeader PacketHeader::Decode(const std::uint8_t* p)
{
    return PacketHeader{GetU16(p), GetU16(p + 2), GetU16(p + 4)};
}

void PacketHeader::Encode(std::uint8_t* p) const
{
    PutU16(p, code);
    PutU16(p + 2, length);
    PutU16(p + 4, argument);
}

namespace {

struct LengthRule {
    std::uint16_t code;
    std::uint16_t min; // smallest accepted length
    std::uint16_t max; // largest accepted length (equal to min when fixed)
};

constexpr LengthRule kRules[] = {
    {pk::SendInviteDone, 6, 6},
    {pk::InviteSent, 6, 6},
    {pk::DuplicateLogin, 6, 6},
    {pk::ServerBye, 6, 6},
    {pk::Unused20050, 6, 6},
    {pk::ProbeVerdict, 6, 6},
    {pk::Greeting, 6, 6},
    {pk::LobbyReset, 6, 6},
    {pk::LobbyEntered, 6, 6},
    {pk::GameRequestGo, 6, 6},
    {pk::GameRequestCancel, 6, 6},
    {pk::GameRequestRefuse, 6, 6},
    {pk::GameEnd, 6, 6},
    {pk::Unused33050, 6, 6},
    {pk::ReviewStart, 6, 6},
    {pk::ReviewEnd, 6, 6},
    {pk::UserLeaves, 6, 6},
    {pk::RoomInviteDone, 12, 12},
    {pk::LoginAccepted, 12, 12},
    {pk::UserMoves, 8, 8},
    {pk::GameRequest, 8, 8},
    {pk::GameStart, 8, 8},
    {pk::InviteSetting, 10, 10},
    {pk::Unused26030, 10, 10},
    {pk::ProfileChange, 14, 14},
    {pk::GameInvite, 14, 14},
    {pk::RoomInvite, 14, 14},
    {pk::Stored27010, 16, 16},
    {pk::UserArrives, 38, 38},
    {pk::RoomInviteRefuse, 42, 42},
    {pk::GameInviteRefuse, 42, 42},
    {pk::MatchRoom, 48, 48},
    {pk::Unused13000, 60, 60},
    {pk::RoomOpened, 60, 60},
    {pk::RoomTitle, 60, 60},
    {pk::RoomSnapshot, 60, 60},
    // Variable lengths: the fixed part of the layout up to the bound.
    {pk::PrivateText, 12, 2060}, // 4 recipient, 6 handle, 8 sender, 10 memo flag, 11 text
    {pk::RoomText, 6, 2054},
    {pk::NoticeText, 6, 2054},
    {pk::RoomMembers, 8, 1708}, // 4 room, 6 count, entries from 8
};

} // namespace

bool IsValidHeader(const PacketHeader& header)
{
    for (const LengthRule& rule : kRules) {
        if (rule.code == header.code)
            return header.length >= rule.min && header.length <= rule.max;
    }
    return false;
}

} // namespace zel
