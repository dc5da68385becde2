#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "Peer.h"
#include "core/net/Resp.h"

namespace zel::load {

// The same lobby traffic on redis-server pub/sub: every user is a RESP3
// connection subscribed to "lobby" and "user:<n>"; a room is the channel
// "room:<n>". A login stores the user's 38-byte record in the hash
// "lobby:users", publishes it to "lobby" and reads the whole hash back.
class TRespProtocol : public TProtocol {
public:
    explicit TRespProtocol(TPeerEvents& events) : events_(events) {}

    void Connected(TPeer& peer) override;
    void Bytes(TPeer& peer, const std::uint8_t* data, std::size_t size) override;
    void MakeRoom(TPeer& peer, int roomIndex) override;
    void EnterRoom(TPeer& peer, int room) override;
    void RoomText(TPeer& peer, std::string_view text) override;
    void PrivateText(TPeer& from, const TPeer& to, std::string_view text) override;
    void Leave(TPeer& peer) override;

private:
    void Element(TPeer& peer, const TRespElement& e);
    TPeerEvents& events_;
};

} // namespace zel::load
