#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/app/LobbySession.h"
#include "core/game/GamePorts.h"
#include "core/net/LobbyDispatch.h"
#include "core/net/LobbyPorts.h"
#include "core/net/PacketQ.h"

namespace zel {

class Clock;
class Random;
class TBBS2Zel;

// What only the program around the link knows: the lobby's command line, the
// date for records and the game window. Every method must be answered.
class TGameLinkHost {
public:
    virtual ~TGameLinkHost() = default;
    // A slash command from the game window ("/elmzs"), run as if typed in the lobby.
    virtual void RunCommand(const std::string& line) = 0;
    // The date written into records ("2026-12-08") and what follows it there.
    virtual std::string DateText() const = 0;
    virtual std::string DateSuffix() const = 0;
    // A session began or ended: the game window is shown or hidden and the
    // lobby's buttons follow.
    virtual void GameSessionStarted() = 0;
    virtual void GameSessionEnded(int previousKind) = 0;
};

// Joins the one game session to the lobby: the dispatch's game traffic reaches
// the session, the session's texts and lobby packets go out through the
// dispatch, and its game messages travel through the session's own text
// message queue. Only forwards; the rules stay in the session and the dispatch.
// Use: construct, build the dispatch with this as its GameSessionPort and the
// session with this as its TGameLobby, then Attach both.
class TGameLink : public GameSessionPort, public TGameLobby, public LobbySession {
public:
    TGameLink(const Clock& clock, Random& random, LobbySettings settings, TGameLinkHost& host);
    TGameLink(const TGameLink&) = delete;
    TGameLink& operator=(const TGameLink&) = delete;

    // Wires the queue between the two; `ports` receives the session's terminal lines.
    void Attach(TLobbyDispatch& dispatch, LobbyPorts& ports, TBBS2Zel& session);

    TPacketQ& Queue() { return queue_; }

    // GameSessionPort
    void RequestGame(const std::string& id) override;
    bool IsBlackOfRunningGame() const override;
    bool HasMultiHost() const override;
    void SendStatusLine(int user) override;
    // The lobby learnt the own room's multi-game host (empty: none). The
    // host coming into its room takes up the boards it left.
    void SetMultiHost(const std::string& id);
    // The host's lobby command: every board given up.
    void ClearMultiBoards();
    void SendGameState(int user) override;
    void HandleMarker(char marker, const std::string& text) override;
    // 'I' a user asks for the review's title, 'G' for its record.
    void HandleArgument(char marker, int argument) override;
    void ByoyomiMarker(int sender, const std::string& text) override;
    // Also answers a version query, with or without a session.
    void PrivateMarker(char marker, int sender, const std::string& text) override;
    void UserLeftRoom(const std::string& nickname, const std::string& id) override;
    // Handed on while the session waits for the answer to a game request,
    // runs a session or the room is a multi-game room; a multi-game host
    // greets newcomers through the lobby instead. Who comes while our request
    // waits missed it, and is handed on again once the game starts.
    void UserEnteredRoom(const std::string& nickname, const std::string& id) override;
    void LobbyEntered() override;

    // TGameLobby
    void SendRoomText(const std::string& text) override;
    void SendPrivate(const std::string& id, const std::string& text) override;
    void TerminalText(const std::string& text) override;
    bool InRoom() const override;
    bool InMultiRoom() const override;
    bool CheckOpponent(const std::string& id) override;
    std::string UserLabel(const std::string& id) override;
    std::string DateText() override;
    std::string DateSuffix() override;
    // The lobby always tells who stopped a game by leaving.
    bool ForcedStopNotice() const override { return true; }
    void ReportRequestCancelled() override;
    void ReportRequestRefused() override;
    void ReportGameStarted(const std::string& blackId, const std::string& whiteId) override;
    void ReportGameOver() override;
    void ReportResult(bool userIsBlack, const std::string& opponentId, const std::string& winnerWord,
                      const std::string& handicapCode) override;
    void RememberOpponent(const std::string& blackId, const std::string& whiteId) override;
    void SessionStarted() override;
    void SessionEnded(int previousKind) override;
    void ReviewStarted() override;
    void ReviewEnded() override;

    // LobbySession
    bool GameInProgress() const override;
    void OnConnectionDropped() override;
    void CancelPendingRequest() override;
    void Tick(std::int32_t now) override;

private:
    const TCManager* Model() const;
    // The session acts under the id the lobby logged in with.
    void SyncIdentity();

    static constexpr std::size_t kMaxLatecomers = 50;

    LobbySettings settings_;
    TGameLinkHost& host_;
    // Ids of users who came into the room while our request waited.
    std::vector<std::string> latecomers_;
    TPacketQ queue_;
    TLobbyDispatch* dispatch_ = nullptr;
    LobbyPorts* ports_ = nullptr;
    TBBS2Zel* session_ = nullptr;
};

} // namespace zel
