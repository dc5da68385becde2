#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/app/ConfigExchange.h"
#include "core/app/TransportRelay.h"
#include "core/net/PacketAssembler.h"
#include "core/net/PacketSender.h"

namespace zel {

class Clock;
class FileStore;
class LobbySession;
class LobbyView;
class PacketListener;
class Prompts;
class TZelStatus;

// The lobby's connection life cycle: start-up, configuration exchange, login,
// connection check with the probe connection, automatic reconnection, leaving
// and quitting. A 200 ms main timer calls Tick; transports report through
// their events. Everything runs on one thread.
class TLobbyApp {
public:
    // The connection state the main timer acts on.
    enum ConnState : int {
        Idle = 0,
        ConnectAtStart = 1,
        Configuring = 2,
        Connected = 3,
        Probing = 4,
        LostWaiting = 5,
        Reconnecting = 6,
        AfterDisconnect = 7,
        WaitingForConfig = 8,
        CloseRequested = 9,
        Quit = 10,
        Leaving = 11,
    };

    struct Ports {
        Clock& clock;
        Transport& game;    // the game-server connection
        Transport& probe;   // the connection check's second connection
        Transport& config;  // the configuration server
        FileStore& banners; // the banner directory
        Prompts& prompts;
        LobbyView& view;
        // The program directory and the record directory, tidied when the
        // login dialog first opens (either may be missing).
        FileStore* program = nullptr;
        FileStore* records = nullptr;
    };

    static constexpr std::int32_t kSilenceBeforeProbe = 14999;
    static constexpr std::int32_t kProbeTimeout = 8000;
    static constexpr std::int32_t kReconnectDelay = 300;
    static constexpr std::int32_t kReconnectTimeout = 8000;
    static constexpr std::int32_t kConfigTimeout = 15000;
    static constexpr std::int32_t kLeaveTimeout = 4500;
    // A connection on which the login never completes is given up after this.
    static constexpr std::int32_t kLoginTimeout = 15000;

    TLobbyApp(TZelStatus& status, const Ports& ports);
    ~TLobbyApp();
    TLobbyApp(const TLobbyApp&) = delete;
    TLobbyApp& operator=(const TLobbyApp&) = delete;

    // Receives every delivered game packet after the life-cycle codes have
    // been acted on, and the connection cleanup. May be null.
    void SetListener(PacketListener* listener) { listener_ = listener; }
    void SetSession(LobbySession* session) { session_ = session; }

    // The window's first show. A non-empty record path (the joined command
    // line) means no connection is made; otherwise connecting starts, at the
    // first start only once the personal-information window has closed.
    void FormShow(const std::string& recordPath);
    // The personal-information window closed (either way).
    void PersonalInfoClosed();
    bool WaitingForPersonalInfo() const { return waitingForInfo_; }
    void Tick(std::int32_t now);
    void ConnTBClick();
    void sbExitClick();
    // The window's close box: true when the window may close now.
    bool FormCloseQuery();
    // Asks the next tick to close the game connection.
    void RequestClose() { state_ = CloseRequested; }
    // Tells the server about changed invitation, profile or level settings.
    void SendProfileChange();

    // The staging records and the gated send of the game connection.
    PacketSender& Sender() { return sender_; }

    int State() const { return state_; }
    bool IsConnected() const { return connected_; }
    bool CheckEnabled() const { return checkEnabled_; }
    bool LeavingFlag() const { return leaving_; }
    bool Exiting() const { return exiting_; }
    bool GaveUp() const { return gaveUp_; }
    bool IsReconnecting() const { return reconnecting_; }
    bool Closing() const { return closing_; }
    bool LoggedIn() const { return loggedIn_; }
    bool FirstConfigPending() const { return firstConfigPending_; }
    int ProbeVerdict() const { return probeVerdict_; }
    std::uint16_t OwnUser() const { return ownUser_; }
    std::uint16_t OwnRoom() const { return ownRoom_; }
    const std::string& OwnId() const { return ownId_; }
    const std::string& OwnNickname() const { return ownNickname_; }
    const std::string& OwnRank() const { return ownRank_; }
    const std::string& RecordPath() const { return recordPath_; }

private:
    std::int32_t Now() const;
    void StartConfig();
    void OpenLogin();
    void TidyProgramDirectory();
    void ConnectGame();
    void RecreateGame();
    void CloseGame();
    void StartProbe(std::int32_t now);
    void OnVerdict(int verdict);
    void StopProbe();

    void OnGameConnected();
    void OnGameBytes(const std::uint8_t* data, std::size_t size);
    void OnGameClosed();
    void OnGameError(TransportError error);
    void OnGamePacket(const std::uint8_t* packet, std::size_t length);
    void OnProbeBytes(const std::uint8_t* data, std::size_t size);
    void OnConfigConnected();
    void OnConfigBytes(const std::uint8_t* data, std::size_t size);
    void OnConfigClosed();
    void ConfigFailed();

    void StartZelProcess();
    void ReTryZelProcess();
    void SendLogin(std::uint16_t code, std::uint16_t user, std::uint16_t room);
    void SendLeave();
    void DisconnectHandling();
    // Drops the connection's state; returns the notice to show.
    const std::string& Cleanup();
    void ResetPanels();
    bool GameInProgress() const;
    // The listed game server the next connection goes to: server 1 for a
    // login from the dialog; a reconnection whose attempt fails moves on to
    // the next listed server, so the users of a server that is gone for good
    // log in again on another server of the same service.
    bool GameServer(std::string& host, std::uint16_t& port) const;
    bool UsableServer(int index) const;
    void NextServer();
    // The settings with the identity this connection logged in with.
    LoginInfo ConnectionLogin() const;

    TZelStatus& status_;
    Ports ports_;
    PacketListener* listener_ = nullptr;
    LobbySession* session_ = nullptr;

    TransportRelay gameEvents_, probeEvents_, configEvents_;
    PacketAssembler assembler_;
    PacketAssembler probeAssembler_;
    PacketSender sender_;
    PacketSender probeSender_;
    TConfigExchange exchange_;

    ConnState state_ = Idle;
    int probeVerdict_ = 0;
    bool connected_ = false;
    bool checkEnabled_ = false;
    bool leaving_ = false;
    bool exiting_ = false;
    bool gaveUp_ = false;
    bool duplicate_ = false;
    bool reconnecting_ = false;
    bool closing_ = false;
    bool firstConfigPending_ = true;
    bool firstShowPending_ = true;
    bool shown_ = false;
    bool loggedIn_ = false;    // the server accepted the login (a lobby model exists)
    bool gameAttempt_ = false; // a game connection is open and its end not yet handled
    bool recreating_ = false;  // the game connection is being replaced: its close is no disconnect
    bool probeActive_ = false;
    bool loginWanted_ = false; // the login dialog opens on the next tick
    bool loginOpen_ = false;
    bool waitingForInfo_ = false; // the first start's connection waits for the personal information

    std::int32_t lastReceived_ = 0;
    std::int32_t connectStart_ = 0;
    std::int32_t disconnectMark_ = 0;
    std::int32_t probeStart_ = 0;
    std::int32_t reconnectStart_ = 0;
    std::int32_t leaveMark_ = 0;
    std::int32_t configActivity_ = 0;
    std::int32_t lastSecond_ = -1;

    int serverIndex_ = 0; // into status_.host's game servers

    std::uint16_t ownUser_ = 0;
    std::uint16_t ownRoom_ = 0;
    std::string ownId_, ownNickname_, ownRank_;
    std::string recordPath_;
};

} // namespace zel
