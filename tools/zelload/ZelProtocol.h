#pragma once
#include "Peer.h"

namespace zel::load {

// The game server's packets, framed by the core's PacketAssembler.
class TZelProtocol : public TProtocol {
public:
    explicit TZelProtocol(TPeerEvents& events) : events_(events) {}

    void Connected(TPeer& peer) override;
    void Bytes(TPeer& peer, const std::uint8_t* data, std::size_t size) override;
    void MakeRoom(TPeer& peer, int roomIndex) override;
    void EnterRoom(TPeer& peer, int room) override;
    void RoomText(TPeer& peer, std::string_view text) override;
    void PrivateText(TPeer& from, const TPeer& to, std::string_view text) override;
    void Leave(TPeer& peer) override;

private:
    void Packet(TPeer& peer, const std::uint8_t* p, std::size_t n);
    void Send(TPeer& peer, const std::uint8_t* p, std::size_t n);

    TPeerEvents& events_;
};

} // namespace zel::load
