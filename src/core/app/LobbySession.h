#pragma once
#include <cstdint>

namespace zel {

// The game session as the connection logic sees it. The lobby works without
// one; the session object plugs in through TLobbyApp::SetSession.
class LobbySession {
public:
    virtual ~LobbySession() = default;
    virtual bool GameInProgress() const = 0;
    // The game connection is gone (not called when the user quits).
    virtual void OnConnectionDropped() = 0;
    // A pending game request stops waiting for its answer.
    virtual void CancelPendingRequest() = 0;
    // Runs the session's periodic work; called on every main-timer tick.
    virtual void Tick(std::int32_t now) = 0;
};

} // namespace zel
