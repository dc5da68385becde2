#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/net/CManager.h"
#include "core/net/Invitation.h"
#include "core/net/PacketListener.h"

namespace zel {

class Clock;
class GameSessionPort;
class LobbyPorts;
class PacketSender;
class TPacketQ;
struct EnvironmentInfo;
struct FriendsInfo;
struct LoginInfo;

// The own identity as sent at login; the owner fills it before the lobby
// model exists.
struct LobbyIdentity {
    std::string id;       // CP949, at most 8 bytes
    std::string nickname; // CP949, at most 8 bytes
    int level = 0;
    int profile = 10;     // 10 visible, 30 hidden
    int invitations = 20; // 20 accepts, 10 refuses
};

// The settings records the lobby reads and updates, and how a section is saved.
struct LobbySettings {
    LoginInfo& login;
    FriendsInfo& friends;
    EnvironmentInfo& environment;
    std::function<void(const std::string& section)> save;
};

// The lobby's packet and text dispatch and its outgoing packets. It owns the
// lobby model from 21030 until the connection is cleaned up, and reaches the
// lobby window and the game session only through their ports.
class TLobbyDispatch : public PacketListener {
public:
    TLobbyDispatch(PacketSender& sender, LobbySettings settings, const Clock& clock, LobbyPorts& ports,
                   GameSessionPort& game);
    ~TLobbyDispatch() override;

    void SetIdentity(const LobbyIdentity& identity) { identity_ = identity; }
    const LobbyIdentity& Identity() const { return identity_; }
    // The queue that receives ">O<" ... ">E<" pieces (the game session's).
    void SetPacketQueue(TPacketQ* queue) { packetQ_ = queue; }
    // The letter of the connection-grade reply.
    void SetGrade(char grade) { grade_ = grade; }

    void OnPacket(const std::uint8_t* packet, std::size_t length) override;
    void OnConnectionCleanup() override;
    // The text-level dispatch of 23010/23020/23030.
    void DispatchText(int argument, const std::string& text);
    // Runs the invitation gauge.
    void Tick(std::int32_t now);

    // The lobby model, or nullptr before 21030 and after cleanup.
    TCManager* Model() { return model_.get(); }
    const TCManager* Model() const { return model_.get(); }
    // The open invitation, or nullptr.
    TInvitation* Invitation() { return invitation_ ? &*invitation_ : nullptr; }
    void AcceptInvitation();
    void RefuseInvitation();

    // Outgoing texts. Texts are CP949; each is cut to what its packet holds.
    void SendPrivate(bool memo, int user, const std::string& text);
    // Private text to the user with that id; false when no member has it.
    bool SendPrivateTo(const std::string& id, const std::string& text, bool memo = false);
    void SendRoom(const std::string& text);    // "nickname [rank] : text"
    void SendRoomRaw(const std::string& text); // markers and queue pieces
    void SendNotice(const std::string& text);
    // ">M<\#" + own id + "\#>P<" privately to `user`: asks for the records.
    void SendRecordsRequest(int user);
    // The own level, profile and invitation bytes changed while connected:
    // later texts and answers carry them.
    void ProfileChanged(int level, int profile, int invitations);

    // Outgoing lobby packets.
    void SendRoomInvite(int user);
    void SendGameInvite(int user);
    void SendGameRequest(int user);
    void CancelGameRequest();
    void RefuseGameRequest();
    void SendGameStart(int black, int white);
    void SendGameEnd();
    void SendReviewStart();
    void SendReviewEnd();
    void MakeRoom(const std::string& title, bool multi);
    void ChangeTitle(const std::string& title);
    void EnterRoom(int room);
    void Leave();
    // 21050 for the connected user with that id; false when none has it.
    bool Send21050(const std::string& id);

    // Records a rated game's result in the personal and friends' counters.
    void ReportResult(bool userIsBlack, const std::string& opponentId, const std::string& winnerWord,
                      const std::string& kindCode);

    static constexpr std::size_t kMaxText = 2048; // text bytes of 23020/23030
    static constexpr std::size_t kMaxPrivate = 2048;

private:
    void LoginAccepted(const std::uint8_t* p);
    void LobbyEntered();
    void HandleInvitation(const std::uint8_t* p, std::uint16_t code);
    void HandleRefusal(const std::uint8_t* p, std::uint16_t code);
    void HandleModel(std::uint16_t code, const std::uint8_t* p, std::size_t n);
    // 22030 and 50000; tells the game session when another user came into
    // or left the own room.
    void HandleMove(std::uint16_t code, const std::uint8_t* p, std::size_t n);
    bool OwnRoomIsMulti() const;
    void Notice(const std::string& text); // "   ### " + text
    void SendSix(std::uint16_t code, int argument);
    void SendRoomRecord(std::uint16_t code, int room, int state, const std::string& title);
    std::string Field(const std::string& text, int index) const;
    void RecordsReply(const std::string& text);
    void GradeReply(const std::string& text);
    void CloseInvitation();

    PacketSender& sender_;
    LobbySettings settings_;
    const Clock& clock_;
    LobbyPorts& ports_;
    GameSessionPort& game_;
    TPacketQ* packetQ_ = nullptr;
    LobbyIdentity identity_;
    char grade_ = 'A';
    std::unique_ptr<TCManager> model_;
    std::optional<TInvitation> invitation_;
    std::array<std::uint8_t, 16> stored27010_{};
};

} // namespace zel
