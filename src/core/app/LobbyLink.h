#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/net/LobbyDispatch.h"
#include "core/net/LobbyPorts.h"
#include "core/net/PacketListener.h"

namespace zel {

class Clock;
class LobbyView;
class TLobbyApp;
class TZelStatus;

// Joins the connection logic to the lobby dispatch: every delivered game
// packet goes on to the dispatch (with the own identity filled in before the
// login is accepted), its terminal lines and the room counter come back to
// the lobby window, and typed chat lines go out as room text.
class TLobbyLink : public PacketListener, public LobbyPorts {
public:
    // Without `game` the dispatch ignores game traffic; otherwise it must
    // outlive the link.
    TLobbyLink(TLobbyApp& app, TZelStatus& status, const Clock& clock, LobbyView& view,
               GameSessionPort* game = nullptr);

    void OnPacket(const std::uint8_t* packet, std::size_t length) override;
    void OnConnectionCleanup() override;

    void Print(const std::string& line, bool lineFlag) override;
    void RefreshCounters() override;

    // A line from the chat input (CP949); sent as room text while logged in.
    void ChatLine(const std::string& line);
    void Tick(std::int32_t now) { dispatch_.Tick(now); }
    TLobbyDispatch& Dispatch() { return dispatch_; }

    // "방 %d 개(%d 명)": occupied rooms besides the waiting room, and everyone
    // in a room; zeros without a lobby model.
    static std::string RoomCounterText(const TCManager* model);

private:
    TLobbyApp& app_;
    TZelStatus& status_;
    LobbyView& view_;
    GameSessionPort noGame_;
    TLobbyDispatch dispatch_;
};

} // namespace zel
