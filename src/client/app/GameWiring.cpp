#include "client/app/GameWiring.h"

#include "client/engine/StoneSound.h"
#include "client/app/DeadStoneAdvisor.h"
#include "client/app/GameWindowLink.h"
#include "client/game/QtGameDialogs.h"
#include "client/app/QtGameWindow.h"
#include "client/base/QtText.h"
#include "client/record/ZelGoMainForm.h"
#include "core/app/LobbyApp.h"
#include "core/app/LobbyLink.h"
#include "core/base/Cp949.h"
#include "core/lobby/LobbyChat.h"
#include "core/net/LobbyDispatch.h"
#include "core/game/BBS2Zel.h"
#include "core/ports/Clock.h"
#include "core/settings/ZelStatus.h"
#include "os/GtpDeadStones.h"

namespace zel {

QString VoiceDir(const TZelStatus& status)
{
    return ToQ(status.critical.zelpath) + "/voice";
}

TGameWiring::TGameWiring(TZelStatus& status, const Clock& clock, TGameLinkHost& host) : status_(status), clock_(clock)
{
    LobbySettings settings{status.login, status.friends, status.environment,
                           [&status](const std::string& section) { status.Save(section); }};
    link_ = std::make_unique<TGameLink>(clock, random_, settings, host);
}

TGameWiring::~TGameWiring()
{
    if (app_)
        app_->SetSession(nullptr);
    windowLink_.reset();
    if (window_)
        window_->SetAdvisor(nullptr);
    advisor_.reset();
    session_.reset();
}

void TGameWiring::Attach(TLobbyApp& app, TLobbyLink& lobby, TLobbyChat& chat, TZelGoMainForm& form, Prompts& prompts,
                         FileStore& records)
{
    lobby_ = &lobby;
    chat_ = &chat;
    window_ = std::make_unique<QtGameWindow>(form);
    dialogs_ = std::make_unique<QtGameDialogs>(
        random_, [this] { return clock_.Now(); }, &form);
    sound_ = std::make_unique<TStoneSound>(VoiceDir(status_));
    session_ =
        std::make_unique<TBBS2Zel>(TSessionServices{clock_, random_, prompts, *window_, *link_, *dialogs_, records,
                                                    form.HelpList(), sound_.get(), &status_.environment.countVoice});
    window_->SetSessionInfo(&session_->Info());
    advisor_ =
        std::make_unique<TDeadStoneAdvisor>(*session_, form, MakeDeadStoneEstimator(), MakeFinalDeadStoneEstimator());
    window_->SetAdvisor(advisor_.get());
    windowLink_ = std::make_unique<TGameWindowLink>(form, *session_, static_cast<TGameWindowLobby&>(*this), *advisor_);
    window_->OnReceivedCommentary = [this](const std::string& body) { windowLink_->ShowReceivedCommentary(body); };
    form.SetRecordStore(&records);
    link_->Attach(lobby.Dispatch(), lobby, *session_);
    app.SetSession(link_.get());
    app_ = &app;
}

bool TGameWiring::GameInProgress() const
{
    return link_->GameInProgress();
}

void TGameWiring::TerminalLine(const std::string& line)
{
    if (session_)
        session_->FeedTerminalLine(line);
}

void TGameWiring::GameCommand(const std::string&)
{
    link_->TerminalText(KS("   ### '/c' 명령은 아직 지원되지 않습니다."));
}

bool TGameWiring::SendToChatPartner(const std::string& line)
{
    if (!chat_ || !lobby_ || chat_->memoTarget < 0)
        return false;
    lobby_->Dispatch().SendPrivate(true, chat_->memoTarget, line);
    return true;
}

void TGameWiring::StopGame(const std::string& name, const std::string& id)
{
    if (session_)
        session_->ForcedStop(name, id);
}

} // namespace zel
