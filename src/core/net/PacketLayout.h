#pragma once
#include <cstddef>

// Field offsets of the lobby packets that more than one place reads or
// writes, counted from the packet start (the 6-byte header included).
namespace zel::pk::at {

// 23010 private text.
namespace privateText {
constexpr std::size_t kRecipient = 4;
constexpr std::size_t kRecipientHandle = 6;
constexpr std::size_t kSender = 8;
constexpr std::size_t kMemo = 10;
constexpr std::size_t kText = 11;
} // namespace privateText

// 23020 room text and 23030 notice.
namespace roomText {
constexpr std::size_t kSender = 4;
constexpr std::size_t kText = 6;
} // namespace roomText

// 22030 a user moves to a room.
namespace userMove {
constexpr std::size_t kUser = 4;
constexpr std::size_t kRoom = 6;
constexpr std::size_t kSize = 8;
} // namespace userMove

// 31010/31020 invitations and their acceptances 31110/31120.
namespace invitation {
constexpr std::size_t kInviter = 4;
constexpr std::size_t kInviterRoom = 6;
constexpr std::size_t kInvited = 8;
constexpr std::size_t kInvitedHandle = 10;
constexpr std::size_t kRoom = 12;
constexpr std::size_t kSize = 14;
} // namespace invitation

// 31130/31140 refusals of an invitation.
namespace refusal {
constexpr std::size_t kInvited = 4;
constexpr std::size_t kInviter = 6;
constexpr std::size_t kInviterRoom = 8;
constexpr std::size_t kReason = 10;
constexpr std::size_t kReasonSize = 32;
constexpr std::size_t kSize = 42;
} // namespace refusal

} // namespace zel::pk::at
