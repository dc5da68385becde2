#include "core/app/LobbyApp.h"

#include <cstring>

#include "core/app/ClockText.h"
#include "core/app/LobbySession.h"
#include "core/app/LobbyView.h"
#include "core/app/LoginRecord.h"
#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketListener.h"
#include "core/ports/Clock.h"
#include "core/ports/FileStore.h"
#include "core/ports/Prompts.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

// Status-bar panels of the lobby window.
constexpr int kRoomPanel = 10;
constexpr int kPlacePanel = 11;
constexpr int kChatModePanel = 13;
constexpr int kClockPanel = 14;

bool IsConnectFailure(TransportError e)
{
    return e == TransportError::Aborted || e == TransportError::Reset || e == TransportError::TimedOut ||
           e == TransportError::Refused;
}

} // namespace

TLobbyApp::TLobbyApp(TZelStatus& status, const Ports& ports)
    : status_(status), ports_(ports), sender_(ports.game, [this] { return connected_ && !closing_ && !reconnecting_; }),
      probeSender_(ports.probe, {}), exchange_(ports.config, ports.banners, status)
{
    gameEvents_.connected = [this] { OnGameConnected(); };
    gameEvents_.bytes = [this](const std::uint8_t* d, std::size_t n) { OnGameBytes(d, n); };
    gameEvents_.closed = [this] { OnGameClosed(); };
    gameEvents_.error = [this](TransportError e) { OnGameError(e); };
    probeEvents_.connected = [this] {
        if (probeActive_) {
            probeVerdict_ = pk::VerdictReconnect;
            probeAssembler_.Reset();
        }
    };
    probeEvents_.bytes = [this](const std::uint8_t* d, std::size_t n) { OnProbeBytes(d, n); };
    configEvents_.connected = [this] { OnConfigConnected(); };
    configEvents_.bytes = [this](const std::uint8_t* d, std::size_t n) { OnConfigBytes(d, n); };
    configEvents_.closed = [this] { OnConfigClosed(); };
    ports_.game.SetEvents(&gameEvents_);
    ports_.probe.SetEvents(&probeEvents_);
    ports_.config.SetEvents(&configEvents_);
}

TLobbyApp::~TLobbyApp()
{
    ports_.game.SetEvents(nullptr);
    ports_.probe.SetEvents(nullptr);
    ports_.config.SetEvents(nullptr);
}

std::int32_t TLobbyApp::Now() const
{
    return ports_.clock.Now();
}

bool TLobbyApp::GameInProgress() const
{
    return session_ != nullptr && session_->GameInProgress();
}

void TLobbyApp::ResetPanels()
{
    ports_.view.SetPanel(kRoomPanel, KS("방 0 개(0 명)"));
    ports_.view.SetPanel(kChatModePanel, KS("일반 대화"));
    ports_.view.SetPanel(kPlacePanel, KS("대기실"));
}

void TLobbyApp::FormShow(const std::string& recordPath)
{
    if (shown_)
        return;
    shown_ = true;
    const bool connect = recordPath.empty();
    if (status_.FirstRun()) {
        // The login asks for the id the user is about to enter here.
        waitingForInfo_ = connect;
        ports_.view.OpenPersonalInfo();
    }
    if (!connect) {
        firstShowPending_ = false;
        recordPath_ = recordPath;
        ports_.view.LoadBanners();
    } else if (!waitingForInfo_) {
        state_ = ConnectAtStart;
    }
    ports_.view.EnableConnect(true);
    ports_.view.SetConnectGlyph(false);
    ports_.view.EnableRoom(false);
    ResetPanels();
}

void TLobbyApp::PersonalInfoClosed()
{
    if (!waitingForInfo_)
        return;
    waitingForInfo_ = false;
    if (state_ == Idle)
        state_ = ConnectAtStart;
}

void TLobbyApp::Tick(std::int32_t now)
{
    switch (state_) {
    case ConnectAtStart:
        connectStart_ = now;
        state_ = WaitingForConfig;
        ConnTBClick();
        break;
    case Configuring:
        // A configuration server that stops talking ends like one that never answered.
        if (Elapsed(now, configActivity_) > kConfigTimeout)
            ConfigFailed();
        break;
    case Connected:
        if (checkEnabled_ && Elapsed(now, lastReceived_) > kSilenceBeforeProbe) {
            StartProbe(now);
        } else if (!checkEnabled_ && Elapsed(now, lastReceived_) > kLoginTimeout) {
            gaveUp_ = true;
            CloseGame();
        }
        break;
    case Probing:
        if (checkEnabled_ && Elapsed(now, probeStart_) > kProbeTimeout)
            OnVerdict(pk::VerdictReconnect);
        break;
    case LostWaiting:
        if (Elapsed(now, disconnectMark_) > kReconnectDelay) {
            state_ = Reconnecting;
            // Another attempt of the same reconnection keeps its start.
            if (!reconnecting_)
                reconnectStart_ = now;
            reconnecting_ = true;
            closing_ = false;
            ConnectGame();
        }
        break;
    case Reconnecting:
        if (Elapsed(now, reconnectStart_) > kReconnectTimeout) {
            state_ = Idle;
            gaveUp_ = true;
            reconnecting_ = false;
            CloseGame();
        }
        break;
    case AfterDisconnect:
        if (Elapsed(now, disconnectMark_) > kReconnectDelay) {
            state_ = Idle;
            RecreateGame();
        }
        break;
    case WaitingForConfig:
        if (Elapsed(now, connectStart_) > kConfigTimeout) {
            state_ = Idle;
            exchange_.Abandon();
            ports_.config.Close();
            ports_.view.EnableConnect(true);
            ports_.view.SetConnectGlyph(false);
            OpenLogin();
        }
        break;
    case CloseRequested:
        state_ = Idle;
        CloseGame();
        break;
    case Quit:
        state_ = Idle;
        ports_.view.CloseWindow();
        break;
    case Leaving:
        if (Elapsed(now, leaveMark_) > kLeaveTimeout) {
            state_ = Idle;
            CloseGame();
        }
        break;
    default:
        break;
    }

    if (loginWanted_) {
        loginWanted_ = false;
        OpenLogin();
    }
    if (session_)
        session_->Tick(now);
    std::int32_t second = now / 1000;
    if (second != lastSecond_ && !exiting_) {
        lastSecond_ = second;
        ports_.view.SetPanel(kClockPanel, ClockText(now));
    }
}

void TLobbyApp::ConnTBClick()
{
    if (ports_.game.IsConnected()) {
        if (GameInProgress())
            return;
        leaving_ = true;
        ports_.view.EnableConnect(false);
        SendLeave();
        reconnecting_ = false;
        closing_ = false;
        leaveMark_ = Now();
        state_ = Leaving;
        return;
    }
    if (state_ == AfterDisconnect || ports_.game.IsOpen() || loginOpen_)
        return;
    ports_.view.EnableConnect(false);
    ports_.view.EnableRoom(false);
    if (firstConfigPending_)
        StartConfig();
    else
        OpenLogin();
}

void TLobbyApp::sbExitClick()
{
    if (session_)
        session_->CancelPendingRequest();
    if (ports_.game.IsConnected()) {
        if (exiting_ || GameInProgress())
            return;
        exiting_ = true;
        leaveMark_ = Now();
        state_ = Leaving;
        SendLeave();
        return;
    }
    exiting_ = true;
    ports_.view.CloseWindow();
}

bool TLobbyApp::FormCloseQuery()
{
    if (GameInProgress())
        return false;
    if (exiting_)
        return true;
    ports_.prompts.Notify(KS("'종료' 버튼을 사용하세요!"), 1500);
    return false;
}

void TLobbyApp::SendProfileChange()
{
    if (!connected_)
        return;
    std::uint8_t* rec = sender_.Staging(pk::ProfileChange);
    std::memset(rec, 0, sender_.StagingSize(pk::ProfileChange));
    PutU16(rec + 4, ownUser_);
    PutU16(rec + 6, ownRoom_);
    rec[8] = LoginRecord::InvitationsByte(status_.login);
    rec[9] = LoginRecord::ProfileByte(status_.login);
    rec[10] = LoginRecord::LevelByte(status_.login);
    sender_.SendPacket(pk::ProfileChange, 14);
    ownRank_ = OwnRankText(status_.login.level);
}

// --- configuration exchange --------------------------------------------------

void TLobbyApp::StartConfig()
{
    connectStart_ = Now();
    state_ = WaitingForConfig;
    const HostInfo& host = status_.host;
    if (host.advPort > 0 && host.advPort <= 65535 && !host.advHost.empty())
        ports_.config.Open(host.advHost, static_cast<std::uint16_t>(host.advPort));
}

void TLobbyApp::OnConfigConnected()
{
    if (state_ != WaitingForConfig)
        return;
    firstConfigPending_ = false;
    state_ = Configuring;
    configActivity_ = Now();
    exchange_.Start();
}

void TLobbyApp::OnConfigBytes(const std::uint8_t* data, std::size_t size)
{
    if (state_ != Configuring)
        return;
    configActivity_ = Now();
    switch (exchange_.Feed(data, size)) {
    case TConfigExchange::Result::Finished:
        state_ = Idle;
        if (exchange_.Downloaded())
            ports_.view.LoadBanners();
        loginWanted_ = true;
        break;
    case TConfigExchange::Result::Failed:
        ConfigFailed();
        break;
    case TConfigExchange::Result::Pending:
        break;
    }
}

void TLobbyApp::OnConfigClosed()
{
    if (state_ == Configuring)
        ConfigFailed();
}

// A failed exchange falls back to the configuration wait, whose time-out
// opens the login dialog with the stored server list.
void TLobbyApp::ConfigFailed()
{
    state_ = WaitingForConfig;
    exchange_.Abandon();
}

// --- login dialog and game connection ----------------------------------------

void TLobbyApp::OpenLogin()
{
    if (loginOpen_)
        return;
    if (firstShowPending_) {
        firstShowPending_ = false;
        TidyProgramDirectory();
        ports_.view.LoadBanners();
    }
    loginOpen_ = true;
    bool ok = ports_.view.OpenLoginDialog();
    loginOpen_ = false;
    if (ok) {
        serverIndex_ = 0;
        ConnectGame();
    } else
        ports_.view.EnableConnect(true);
}

namespace {

// Copies `name` from one directory to another, overwriting, and removes the
// original only once the copy is written: nothing is lost when either side fails.
void MoveFile(FileStore& from, FileStore& to, const std::string& name)
{
    std::string data;
    if (from.Read(name, data) && to.Write(name, data))
        from.Remove(name);
}

} // namespace

void TLobbyApp::TidyProgramDirectory()
{
    FileStore* program = ports_.program;
    if (program == nullptr)
        return;
    if (ports_.records != nullptr) {
        std::vector<std::string> records = program->List(".zel");
        if (!records.empty())
            MoveFile(*program, *ports_.records, records.front());
    }
    for (const std::string& name : program->List(".gif"))
        MoveFile(*program, ports_.banners, name);
}

LoginInfo TLobbyApp::ConnectionLogin() const
{
    LoginInfo login = status_.login;
    login.userId = ownId_;
    login.nickname = ownNickname_;
    return login;
}

bool TLobbyApp::UsableServer(int index) const
{
    const HostInfo& info = status_.host;
    if (index < 0 || index >= HostInfo::kMax || (index > 0 && index >= info.hostCount))
        return false;
    const auto i = static_cast<std::size_t>(index);
    return !info.hosts[i].empty() && info.ports[i] > 0 && info.ports[i] <= 65535;
}

bool TLobbyApp::GameServer(std::string& host, std::uint16_t& port) const
{
    const int index = UsableServer(serverIndex_) ? serverIndex_ : 0;
    if (!UsableServer(index))
        return false;
    const auto i = static_cast<std::size_t>(index);
    host = status_.host.hosts[i];
    port = static_cast<std::uint16_t>(status_.host.ports[i]);
    return true;
}

void TLobbyApp::NextServer()
{
    for (int step = 1; step <= HostInfo::kMax; ++step) {
        const int index = (serverIndex_ + step) % HostInfo::kMax;
        if (UsableServer(index)) {
            serverIndex_ = index;
            return;
        }
    }
}

void TLobbyApp::ConnectGame()
{
    RecreateGame();
    std::string host;
    std::uint16_t port = 0;
    gameAttempt_ = true;
    if (!GameServer(host, port)) {
        gaveUp_ = true;
        DisconnectHandling();
        return;
    }
    ports_.view.EnableConnect(false);
    ports_.game.Open(host, port);
}

void TLobbyApp::RecreateGame()
{
    recreating_ = true;
    ports_.game.Close();
    recreating_ = false;
    gameAttempt_ = false;
}

// Closes the game connection; its disconnect handling runs exactly once,
// whether or not the transport reports the close.
void TLobbyApp::CloseGame()
{
    if (ports_.game.IsOpen())
        ports_.game.Close();
    if (gameAttempt_)
        DisconnectHandling();
}

void TLobbyApp::OnGameConnected()
{
    if (!gameAttempt_)
        return;
    lastReceived_ = Now();
    state_ = Connected;
    connected_ = true;
    leaving_ = false;
    exiting_ = false;
    // A packet never spans two connections.
    assembler_.Reset();
    if (reconnecting_) {
        checkEnabled_ = true;
    } else {
        duplicate_ = false;
        checkEnabled_ = false;
    }
}

void TLobbyApp::OnGameBytes(const std::uint8_t* data, std::size_t size)
{
    if (closing_ || !connected_ || !gameAttempt_)
        return;
    if (size > 1) {
        lastReceived_ = Now();
        if (state_ == Probing)
            StopProbe();
        if (state_ == Probing || state_ == LostWaiting || state_ == Reconnecting)
            state_ = Connected;
    }
    assembler_.Feed(
        data, size,
        [this] {
            return connected_ && !closing_ && (state_ == Connected || state_ == Probing || state_ == LostWaiting);
        },
        [this](const std::uint8_t* p, std::size_t n) { OnGamePacket(p, n); });
}

void TLobbyApp::OnGamePacket(const std::uint8_t* packet, std::size_t length)
{
    PacketHeader header = PacketHeader::Decode(packet);
    switch (header.code) {
    case pk::Greeting: {
        bool again = reconnecting_;
        reconnecting_ = false;
        if (again)
            ReTryZelProcess();
        else
            StartZelProcess();
        break;
    }
    case pk::DuplicateLogin:
        if (listener_)
            listener_->OnPacket(packet, length);
        duplicate_ = true;
        CloseGame();
        return;
    case pk::ServerBye:
        if (listener_)
            listener_->OnPacket(packet, length);
        leaving_ = true;
        CloseGame();
        return;
    case pk::LoginAccepted:
        if (length >= 8) {
            ownUser_ = GetU16(packet + 4);
            ownRoom_ = GetU16(packet + 6);
            loggedIn_ = true;
        }
        break;
    case pk::LobbyEntered:
        ports_.view.EnableRoom(true);
        checkEnabled_ = true;
        break;
    default:
        break;
    }
    if (listener_)
        listener_->OnPacket(packet, length);
}

void TLobbyApp::OnGameClosed()
{
    if (gameAttempt_)
        DisconnectHandling();
}

void TLobbyApp::OnGameError(TransportError error)
{
    if (!gameAttempt_)
        return;
    if (!connected_ && IsConnectFailure(error)) {
        gaveUp_ = true;
        DisconnectHandling();
        return;
    }
    CloseGame();
}

// --- login --------------------------------------------------------------------

void TLobbyApp::StartZelProcess()
{
    ports_.prompts.Notify(KS("대국실 정보를 받고 있습니다"), 1000);
    const std::string& note = status_.host.noteMsgs[1];
    if (!note.empty()) {
        ports_.view.PrintLine("   ### " + note);
        ports_.view.PrintLine("");
    }
    SendLogin(pk::Login, 0, 0);
}

void TLobbyApp::ReTryZelProcess()
{
    SendLogin(pk::ReLogin, ownUser_, ownRoom_);
}

void TLobbyApp::SendLogin(std::uint16_t code, std::uint16_t user, std::uint16_t room)
{
    assembler_.Reset();
    ports_.view.EnableConnect(true);
    ports_.view.SetConnectGlyph(true);
    LoginInfo& login = status_.login;
    login.userId = LoginRecord::NormaliseId(login.userId);
    login.nickname = LoginRecord::NormaliseNickname(login.nickname);
    LoginRecord::Fill(sender_.Staging(code), code, login, user, room);
    sender_.SendPacket(code, LoginRecord::kSize);
    ownId_ = login.userId;
    ownNickname_ = login.nickname;
    ownRank_ = OwnRankText(login.level);
    ports_.view.SetPanel(kChatModePanel, KS("일반 대화"));
    ports_.view.SetPanel(kPlacePanel, KS("대기실"));
}

void TLobbyApp::SendLeave()
{
    std::uint8_t* rec = sender_.Staging(pk::Leave);
    PutU16(rec + 4, ownUser_);
    sender_.SendPacket(pk::Leave, 6);
}

// --- connection check ----------------------------------------------------------

void TLobbyApp::StartProbe(std::int32_t now)
{
    probeStart_ = now;
    state_ = Probing;
    probeVerdict_ = pk::VerdictReconnect;
    StopProbe();
    std::string host;
    std::uint16_t port = 0;
    if (!GameServer(host, port))
        return;
    probeActive_ = true;
    probeAssembler_.Reset();
    ports_.probe.Open(host, port);
}

void TLobbyApp::StopProbe()
{
    probeActive_ = false;
    ports_.probe.Close();
}

void TLobbyApp::OnProbeBytes(const std::uint8_t* data, std::size_t size)
{
    if (!probeActive_)
        return;
    probeAssembler_.Feed(
        data, size, [this] { return state_ == Probing && ports_.probe.IsConnected(); },
        [this](const std::uint8_t* p, std::size_t n) {
            if (n < PacketHeader::kSize)
                return;
            PacketHeader header = PacketHeader::Decode(p);
            if (header.code == pk::Greeting) {
                LoginRecord::Fill(probeSender_.Staging(pk::Probe), pk::Probe, ConnectionLogin(), ownUser_, ownRoom_);
                probeSender_.SendPacket(pk::Probe, LoginRecord::kSize);
            } else if (header.code == pk::ProbeVerdict) {
                OnVerdict(header.argument);
            }
        });
}

void TLobbyApp::OnVerdict(int verdict)
{
    state_ = Idle;
    probeVerdict_ = verdict;
    StopProbe();
    if (verdict == pk::VerdictUnknown) {
        gaveUp_ = true;
        CloseGame();
    } else if (verdict == pk::VerdictReconnect) {
        leaving_ = false;
        CloseGame();
    } else {
        lastReceived_ = Now();
        state_ = Connected;
    }
}

// --- disconnection -------------------------------------------------------------

void TLobbyApp::DisconnectHandling()
{
    if (recreating_)
        return;
    gameAttempt_ = false;
    disconnectMark_ = Now();
    state_ = Idle;
    StopProbe();
    if (duplicate_) {
        // No reconnection follows; whatever the server had accepted is gone too.
        Cleanup();
        state_ = AfterDisconnect;
        ports_.prompts.Alert(KS("같은 아이디가 이미 접속해 있습니다!"));
        return;
    }
    // A server that is not back yet (refused, or closed before it greeted)
    // is tried again until the reconnection's time is over.
    if (reconnecting_ && loggedIn_ && !leaving_ && !exiting_ &&
        Elapsed(disconnectMark_, reconnectStart_) < kReconnectTimeout) {
        NextServer();
        gaveUp_ = false;
        closing_ = true;
        state_ = LostWaiting;
        return;
    }
    ConnState next = AfterDisconnect;
    if (gaveUp_) {
        gaveUp_ = false;
    } else if (leaving_ || exiting_) {
        next = exiting_ ? Quit : AfterDisconnect;
        leaving_ = false;
    } else if (!reconnecting_ && loggedIn_) {
        closing_ = true;
        state_ = LostWaiting;
        return;
    }
    const std::string& notice = Cleanup();
    state_ = next;
    ports_.prompts.Alert(notice);
}

const std::string& TLobbyApp::Cleanup()
{
    checkEnabled_ = false;
    connected_ = false;
    reconnecting_ = false;
    closing_ = false;
    ports_.view.EnableConnect(true);
    ports_.view.SetConnectGlyph(false);
    ports_.view.EnableRoom(false);
    if (!exiting_ && session_)
        session_->OnConnectionDropped();
    ResetPanels();
    if (loggedIn_) {
        loggedIn_ = false;
        if (listener_)
            listener_->OnConnectionCleanup();
        return KS("접속이 끊겼습니다.");
    }
    return KS("연결이 되지 않았습니다. 잠시후에...");
}

} // namespace zel
