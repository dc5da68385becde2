#include "ZelBot.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "core/base/Cp949.h"
#include "core/gtp/DeadMarks.h"
#include "core/gtp/GtpPosition.h"
#include "core/gtp/GtpText.h"
#include "core/net/CManager.h"
#include "core/net/PacketQ.h"
#include "core/engine/LetterCodes.h"
#include "core/ports/Clock.h"
#include "core/record/RecordHeader.h"
#include "os/GtpDeadStones.h"

namespace zel::bot {

namespace {

// The commands of the game window the bot gives.
enum TBotCommand : int { kPass = 9, kResign = 10, kCountRequest = 11, kDeadMarkDone = 25 };

TMemorySettings SeededSettings(const TBotOptions& o)
{
    TMemorySettings s;
    s.Write(TZelStatus::kVersionSection, "version", TZelStatus::kVersion);
    s.Write(TZelStatus::kLogin, "userid", o.id);
    return s;
}

SettingsDefaults Defaults(const TBotOptions& o)
{
    SettingsDefaults d;
    d.zelpath = o.dataDir;
    d.serverHost = o.host;
    d.gamePort = o.port;
    d.configPort = o.configPort;
    return d;
}

bool IsPass(const TMoveRecord& m)
{
    return m.X == 0;
}

} // namespace

std::optional<std::string> TMemorySettings::Read(const std::string& section, const std::string& key)
{
    auto it = values_.find({section, key});
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

void TMemorySettings::Write(const std::string& section, const std::string& key, const std::string& value)
{
    values_[{section, key}] = value;
}

TZelBot::TZelBot(TBotOptions options)
    : options_(std::move(options)), settings_(SeededSettings(options_)), status_(settings_, Defaults(options_)),
      banners_(std::filesystem::path(options_.dataDir) / "ADVH"),
      records_(std::filesystem::path(options_.dataDir) / "Gibo"),
      app_(status_, TLobbyApp::Ports{clock_, gameSocket_, probeSocket_, configSocket_, banners_,
                                     static_cast<Prompts&>(*this), static_cast<LobbyView&>(*this), nullptr, &records_}),
      link_(clock_, random_,
            LobbySettings{status_.login, status_.friends, status_.environment,
                          [this](const std::string& section) { status_.Save(section); }},
            static_cast<TGameLinkHost&>(*this)),
      lobby_(app_, status_, clock_, static_cast<LobbyView&>(*this), &link_),
      session_(TSessionServices{clock_, random_, static_cast<Prompts&>(*this), static_cast<TGameWindow&>(*this), link_,
                                static_cast<TGameDialogs&>(*this), records_, commentary_, nullptr, nullptr}),
      engine_(options_.engine, options_.engineTimeoutMs), judge_(MakePatientDeadStoneEstimator())
{
    status_.login.userId = options_.id;
    status_.login.nickname = options_.nickname;
    status_.login.level = options_.level;
    status_.login.inviteOn = true;
    status_.host.advHost = options_.host;
    status_.host.advPort = options_.configPort;
    status_.host.hostCount = 1;
    status_.host.hosts[0] = options_.host;
    status_.host.ports[0] = options_.port;
    status_.critical.gibodir = (std::filesystem::path(options_.dataDir) / "Gibo").string();
    app_.SetListener(&lobby_);
    app_.SetSession(&link_);
    lobby_.SetUi(static_cast<LobbyPorts*>(this));
    link_.Attach(lobby_.Dispatch(), lobby_, session_);
}

TZelBot::~TZelBot()
{
    app_.SetListener(nullptr);
    app_.SetSession(nullptr);
    lobby_.SetUi(nullptr);
}

void TZelBot::Log(const std::string& cp949)
{
    std::string line = Cp949ToUtf8(cp949);
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    std::fprintf(stdout, "%s\n", line.c_str());
    std::fflush(stdout);
}

void TZelBot::Say(const std::string& utf8)
{
    Log("say " + Utf8ToCp949(utf8));
    if (app_.IsConnected())
        lobby_.Dispatch().SendRoom(Utf8ToCp949(utf8));
}

int TZelBot::Run()
{
    app_.FormShow("");
    while (!stop_) {
        if (gameSocket_.IsOpen())
            gameSocket_.Poll(10);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (probeSocket_.IsOpen())
            probeSocket_.Poll(0);
        if (configSocket_.IsOpen())
            configSocket_.Poll(0);
        const std::int32_t now = clock_.Now();
        link_.Queue().Tick(now);
        if (Elapsed(now, lastTick_) >= 200) {
            lastTick_ = now;
            app_.Tick(now);
            lobby_.Tick(now);
        }
        if (app_.GaveUp() && !gameSocket_.IsOpen()) {
            Log("gave up: no connection to the server");
            return 1;
        }
        Act();
    }
    return 0;
}

// ---- the bot's policy -------------------------------------------------------

void TZelBot::Act()
{
    const TCManager* model = lobby_.Dispatch().Model();
    const int room = model ? model->currentRoom : -1;
    if (room != shownRoom_) {
        shownRoom_ = room;
        if (room >= 0)
            Log("room " + std::to_string(room));
    }
    if (acceptInvitation_) {
        acceptInvitation_ = false;
        if (session_.GameOpen())
            lobby_.Dispatch().RefuseInvitation();
        else
            lobby_.Dispatch().AcceptInvitation();
    }
    if (model && !session_.GameOpen() && model->currentRoom == 0 && app_.IsConnected()) {
        if (wantRoom_) {
            wantRoom_ = false;
            lobby_.Dispatch().MakeRoom(options_.roomTitle, false);
            Log("make room");
        }
    } else if (model && model->currentRoom != 0) {
        wantRoom_ = true; // back to a room of our own once this one is left
    }
    if (!session_.GameOpen() || session_.SessionKind() != kGameSession || !session_.IsPlayer())
        return;
    if (session_.DeadMarkStage() > 0) {
        if (session_.DeadMarker() == session_.MyId)
            MarkDeadStones();
        return;
    }
    if (session_.IsMyTurn() && !session_.AwaitingReply() && session_.InputEnabled())
        PlayTurn();
}

bool TZelBot::LastMovesArePasses(int count) const
{
    const TGoBoard& b = session_.Board();
    if (b.MoveCount() < count)
        return false;
    for (int i = 0; i < count; ++i)
        if (!IsPass(b.Move(b.MoveCount() - i)))
            return false;
    return true;
}

bool TZelBot::EngineHoldsGame()
{
    const int komi = Code2ToNum(session_.Header().KomiCode);
    return engine_.Sync(GameQuery(session_.Board(), GtpKomi(session_.Header().KomiSideCode, komi < 0 ? 0 : komi)));
}

void TZelBot::PlayTurn()
{
    const TGoBoard& b = session_.Board();
    const int moves = b.MoveCount();
    if (LastMovesArePasses(2) && endRequestedAt_ != moves) {
        endRequestedAt_ = moves;
        Log("both passed: asking to count");
        session_.Command(kCountRequest);
        return;
    }
    if (pending_.has_value() && pending_->count == moves) {
        // The click lock held the last click back: the same move again.
        session_.BoardClick(pending_->x, pending_->y);
        if (session_.Board().MoveCount() != moves)
            pending_.reset();
        return;
    }
    pending_.reset();
    if (engineBroken_)
        return GiveUp("엔진이 응답하지 않아 기권합니다. 다른 대국 신청은 계속 받습니다.");
    if (!EngineHoldsGame())
        return GiveUp("엔진이 응답하지 않아 기권합니다. 다른 대국 신청은 계속 받습니다.");
    const std::uint8_t mine = session_.MyId == session_.Header().BlackId ? kBlack : kWhite;
    if (options_.mayResign && moves >= options_.resignFromMove && moves - lastEstimateMove_ >= 10) {
        lastEstimateMove_ = moves;
        double margin = 0;
        if (engine_.EstimateMargin(margin) && (mine == kBlack ? margin : -margin) < -options_.resignMargin) {
            Say("졌습니다. 잘 두셨습니다.");
            resignWanted_ = true;
            session_.Command(kResign);
            resignWanted_ = false;
            return;
        }
    }
    const TEngineMove move = engine_.GenMove(mine);
    switch (move.What) {
    case TEngineMove::Failed:
        return GiveUp("엔진이 응답하지 않아 기권합니다. 다른 대국 신청은 계속 받습니다.");
    case TEngineMove::Resign:
        if (!options_.mayResign) {
            Log("engine resigns: pass");
            session_.Command(kPass);
            return;
        }
        Say("졌습니다. 잘 두셨습니다.");
        resignWanted_ = true;
        session_.Command(kResign);
        resignWanted_ = false;
        return;
    case TEngineMove::Pass:
        Log("pass");
        session_.Command(kPass);
        return;
    case TEngineMove::Play:
        if (!b.IsLegalMove(move.X, move.Y)) {
            // Our rules refuse what the engine chose (a ko it reads otherwise).
            Log("engine move refused here: pass");
            session_.Command(kPass);
            return;
        }
        session_.BoardClick(move.X, move.Y);
        if (session_.Board().MoveCount() == moves)
            pending_ = TPendingMove{moves, move.X, move.Y};
        return;
    }
}

void TZelBot::GiveUp(const std::string& why)
{
    engineBroken_ = true;
    Log("engine failed");
    Say(why);
    resignWanted_ = true;
    session_.Command(kResign);
    resignWanted_ = false;
}

bool TZelBot::EngineDeadStones(std::vector<std::pair<int, int>>& dead)
{
    const std::string key = session_.Header().GameId + "/" + std::to_string(session_.Board().MoveCount());
    if (key != judgedKey_) {
        const int komi = Code2ToNum(session_.Header().KomiCode);
        judgedOk_ = judge_->DeadStones(
            GameQuery(session_.Board(), GtpKomi(session_.Header().KomiSideCode, komi < 0 ? 0 : komi)), judged_);
        judgedKey_ = key;
    }
    dead = judged_;
    return judgedOk_;
}

void TZelBot::MarkDeadStones()
{
    std::vector<std::pair<int, int>> dead;
    EngineDeadStones(dead);
    session_.MarkDeadPoints(dead);
    Log("marked " + std::to_string(DeadPoints(MarkedDead(session_.Board())).size()) + " dead stones");
    session_.Command(kDeadMarkDone);
}

bool TZelBot::AgreeToEnd()
{
    // The asker is to move, so the last move is ours: a pass means the engine saw nothing left.
    if (LastMovesArePasses(1))
        return true;
    Say("아직 둘 곳이 남아 있습니다. 계속 두겠습니다.");
    return false;
}

bool TZelBot::AgreeToDeadStones()
{
    std::vector<std::pair<int, int>> dead;
    EngineDeadStones(dead);
    const TGoBoard& board = session_.Board();
    const TDeadGrid want = MarkedByPoints(board, dead);
    if (want == MarkedDead(board))
        return true;
    if (refusals_ >= kMaxRefusals) {
        Say("사석 판단이 다르지만 상대방의 지정을 따르겠습니다.");
        return true;
    }
    ++refusals_;
    std::string list;
    for (const auto& [x, y] : DeadPoints(want))
        list += " " + GtpVertexText(x, y);
    Say(list.empty() ? "제 판단으로는 사석이 없습니다." : "제 판단으로는 사석이 다릅니다:" + list);
    return false;
}

// ---- what the client's windows would do -----------------------------------

void TZelBot::PrintLine(const std::string& line)
{
    Log(line);
}

bool TZelBot::OpenLoginDialog()
{
    status_.login.userId = options_.id;
    status_.login.nickname = options_.nickname;
    status_.login.level = options_.level;
    Log("login " + options_.id);
    return true;
}

void TZelBot::OpenPersonalInfo()
{
    app_.PersonalInfoClosed();
}

void TZelBot::Notify(const std::string& text, int)
{
    Log("notice " + text);
}

void TZelBot::Alert(const std::string& text)
{
    Log("alert " + text);
}

bool TZelBot::Confirm(const std::string& text, const std::string&, const std::string&)
{
    bool yes = true;
    if (text == KS("대국 종료 요청입니다."))
        yes = AgreeToEnd();
    else if (text == KS("사석지정에 동의 하십니까?"))
        yes = AgreeToDeadStones();
    else if (text == KS("불계패를 선언하시겠습니까?"))
        yes = resignWanted_;
    // Undo and adjournment requests and resuming an adjourned game are granted.
    Log("question " + text + (yes ? " -> yes" : " -> no"));
    return yes;
}

void TZelBot::ChatLine(const std::string& text)
{
    Log("game " + text);
}

void TZelBot::RecordWritten(const std::string&, const std::string& fileName)
{
    Log("record " + fileName);
}

bool TZelBot::ShowGameRequest(TGameRequestModel&)
{
    Log("game request accepted");
    return true;
}

std::string TZelBot::DateText() const
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return ShortDateText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void TZelBot::GameSessionStarted()
{
    Log("game started " + session_.Header().BlackId + " vs " + session_.Header().WhiteId);
    engineBroken_ = false;
    refusals_ = 0;
    endRequestedAt_ = -1;
    lastEstimateMove_ = 0;
    pending_.reset();
}

void TZelBot::GameSessionEnded(int)
{
    Log("game ended " + session_.Info().PResult);
}

void TZelBot::InvitationOpened(const TInvitation& invitation)
{
    Log("invitation " + invitation.firstLine);
    acceptInvitation_ = true;
}

} // namespace zel::bot
