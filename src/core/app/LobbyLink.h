#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
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
    // Everything else goes to the lobby window's lists, chat and dialogs.
    void LobbyCreated() override;
    void LobbyReset() override;
    void LobbyEntered() override;
    void RoomChanged(int kind, int room) override;
    void UserViewChanged(int kind, int user) override;
    void RoomViewChanged(int kind, int user) override;
    void InvitationOpened(const TInvitation& invitation) override;
    void InvitationChanged(const TInvitation& invitation) override;
    void InvitationClosed() override;
    bool OfferMemo(int sender, const std::string& text) override;
    void ChatBlockMarker(bool blocked, const std::string& text) override;

    // The window's lists and dialogs; may be null. Not owned.
    void SetUi(LobbyPorts* ui) { ui_ = ui; }
    // Called after the dispatch dropped the connection's lobby.
    std::function<void()> onCleanup;

    // The personal-information window was confirmed while connected: the
    // server hears of the new profile and later texts carry it.
    void ProfileChanged();
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
    LobbyPorts* ui_ = nullptr;
    TLobbyDispatch dispatch_;
};

} // namespace zel
