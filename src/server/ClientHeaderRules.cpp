#include "server/ClientHeaderRules.h"

#include "core/net/PacketCodes.h"

namespace zel {

namespace {

struct ClientRule {
    std::uint16_t code;
    std::uint16_t min;
    std::uint16_t max;
};

constexpr ClientRule kClientRules[] = {
    {pk::Login, 38, 38},
    {pk::ReLogin, 38, 38},
    {pk::Probe, 38, 38},
    {pk::Leave, 6, 6},
    {pk::Unused21050, 8, 8},
    {pk::PrivateText, 12, 2060},
    {pk::RoomText, 6, 2054},
    {pk::NoticeText, 6, 2054},
    {pk::MakeRoom, 60, 60},
    {pk::RoomTitle, 60, 60},
    {pk::EnterRoom, 8, 8},
    {pk::ProfileChange, 14, 14},
    {pk::GameInvite, 14, 14},
    {pk::RoomInvite, 14, 14},
    {pk::GameInviteAccept, 14, 14},
    {pk::RoomInviteAccept, 14, 14},
    {pk::RoomInviteRefuse, 42, 42},
    {pk::GameInviteRefuse, 42, 42},
    {pk::GameRequest, 8, 8},
    {pk::GameRequestCancel, 6, 6},
    {pk::GameRequestRefuse, 6, 6},
    {pk::GameEnd, 6, 6},
    {pk::GameStart, 8, 8},
    {pk::ReviewStart, 6, 6},
    {pk::ReviewEnd, 6, 6},
    {pk::Unused10000, 6, 6},
    {pk::Unused11050, 6, 6},
};

} // namespace

bool IsValidClientHeader(const PacketHeader& header)
{
    for (const ClientRule& rule : kClientRules) {
        if (rule.code == header.code)
            return header.length >= rule.min && header.length <= rule.max;
    }
    return false;
}

} // namespace zel
