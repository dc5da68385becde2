#include "core/app/GameLink.h"

#include <algorithm>

#include "core/base/Cp949.h"
#include "core/game/BBS2Zel.h"
#include "core/net/CManager.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {
// What this client answers to a version query, after the user's label.
constexpr const char* kVersionReply = "HvnZel Beta 1.8 c >Y<";
} // namespace

TGameLink::TGameLink(const Clock& clock, Random& random, LobbySettings settings, TGameLinkHost& host)
    : settings_(std::move(settings)), host_(host), queue_(clock, random)
{
}

void TGameLink::Attach(TLobbyDispatch& dispatch, LobbyPorts& ports, TBBS2Zel& session)
{
    dispatch_ = &dispatch;
    ports_ = &ports;
    session_ = &session;
    dispatch.SetPacketQueue(&queue_);
    session.OnSendGame = [this](const std::string& text) { queue_.Enqueue(text); };
    queue_.SetOnWire([this](const std::string& piece) { dispatch_->SendRoomRaw(piece); });
    queue_.SetOnMessage([this](const std::string& message) {
        // Game messages carry 'A' after their first letter; the key ends at 4.
        if (message.size() > 4 && message[1] == 'A') {
            SyncIdentity();
            session_->OnGameData(message.substr(4));
        }
    });
}

const TCManager* TGameLink::Model() const
{
    return dispatch_ ? dispatch_->Model() : nullptr;
}

void TGameLink::SyncIdentity()
{
    if (dispatch_ && session_ && !dispatch_->Identity().id.empty())
        session_->MyId = dispatch_->Identity().id;
}

// ---- from the dispatch ----

void TGameLink::RequestGame(const std::string& id)
{
    if (!session_)
        return;
    SyncIdentity();
    latecomers_.clear();
    session_->RequestGame(id);
}

bool TGameLink::IsBlackOfRunningGame() const
{
    return session_ && session_->GameOpen() && session_->SessionKind() == 0 && session_->IsBlackPlayer();
}

bool TGameLink::HasMultiHost() const
{
    return session_ && !session_->MultiHostId.empty();
}

void TGameLink::SendStatusLine(int user)
{
    const TCManager* m = Model();
    if (!session_ || !m || m->CheckUser(user) != 0 || m->User(user).id.empty())
        return;
    SyncIdentity();
    session_->SendStatusLine(m->User(user).id);
}

void TGameLink::SetMultiHost(const std::string& id)
{
    if (!session_)
        return;
    SyncIdentity();
    const bool arrived = !id.empty() && id != session_->MultiHostId;
    session_->MultiHostId = id;
    if (arrived && session_->IsMultiHost())
        session_->RestoreMultiBoards();
}

void TGameLink::ClearMultiBoards()
{
    if (!session_)
        return;
    SyncIdentity();
    session_->ClearMultiBoards();
}

void TGameLink::SendGameState(int user)
{
    if (!session_)
        return;
    if (user < 0) {
        session_->SendGameState({});
        return;
    }
    const TCManager* m = Model();
    if (m && m->CheckUser(user) == 0 && !m->User(user).id.empty())
        session_->SendGameState(m->User(user).id);
}

void TGameLink::HandleMarker(char marker, const std::string& text)
{
    if (!session_)
        return;
    SyncIdentity();
    if (marker == 'C')
        session_->ReceiveChunk(text);
    else if (marker == 'Z' || marker == 'R')
        session_->ChatBlockMarker(marker == 'Z', text);
    else if (marker == 'H')
        session_->ReviewTitleMarker(text);
}

void TGameLink::HandleArgument(char marker, int argument)
{
    const TCManager* m = Model();
    if (!session_ || !m || m->CheckUser(argument) != 0 || m->User(argument).id.empty())
        return;
    SyncIdentity();
    // The answer goes to the user the server names as sender, never to an id
    // written in the text.
    const std::string& id = m->User(argument).id;
    if (marker == 'I')
        session_->ReviewTitleAsked(id);
    else if (marker == 'G')
        session_->SendReviewRecord(id);
}

void TGameLink::PrivateMarker(char marker, int sender, const std::string& text)
{
    const TCManager* m = Model();
    if (!m || m->CheckUser(sender) != 0)
        return;
    const std::string& senderId = m->User(sender).id;
    if (marker == 'X') {
        // ">M<" + id + ">X<": the version goes back to the user who asked.
        std::size_t at = text.find(">M<");
        std::size_t end = text.find(">X<");
        if (at != std::string::npos && end != std::string::npos && end > at + 3 &&
            text.compare(at + 3, end - at - 3, senderId) == 0 && dispatch_)
            dispatch_->SendPrivate(false, sender, ">M<" + UserLabel(m->ownId) + kVersionReply);
        return;
    }
    if (!session_)
        return;
    SyncIdentity();
    if (marker == 'D')
        session_->AnswerCatchUp(senderId, text);
    else if (marker == 'B')
        session_->PlayCatchUp(senderId, text);
}

void TGameLink::ByoyomiMarker(int sender, const std::string& text)
{
    const TCManager* m = Model();
    if (!session_ || !m || m->CheckUser(sender) != 0)
        return;
    SyncIdentity();
    session_->ChangeByoyomi(m->User(sender).id, text);
}

void TGameLink::UserLeftRoom(const std::string& nickname, const std::string& id)
{
    latecomers_.erase(std::remove(latecomers_.begin(), latecomers_.end(), id), latecomers_.end());
    if (session_)
        session_->ForcedStop(nickname, id);
}

void TGameLink::UserEnteredRoom(const std::string&, const std::string& id)
{
    if (!session_)
        return;
    SyncIdentity();
    if (session_->IsMultiHost())
        return;
    if (session_->RequestPending() && latecomers_.size() < kMaxLatecomers &&
        std::find(latecomers_.begin(), latecomers_.end(), id) == latecomers_.end())
        latecomers_.push_back(id);
    if (session_->RequestPending() || session_->GameOpen() || InMultiRoom())
        session_->MemberEntered(id);
}

// A login that did not bring the user back into the room of the own game
// beside the opponent (a server that restarted and knows nobody) leaves the
// game without its other side: it is set aside as on a lost connection, and
// a later request of the two resumes it.
void TGameLink::LobbyEntered()
{
    if (!GameInProgress())
        return;
    SyncIdentity();
    const TGameHeader& h = session_->Header();
    const std::string& other = session_->MyId == h.BlackId ? h.WhiteId : h.BlackId;
    const TCManager* m = Model();
    if (m && m->currentRoom > 0 && m->FindUserInRoom(other, m->currentRoom) >= 0)
        return;
    session_->ForcedStop(KS("본인"), session_->MyId);
}

// ---- from the session ----

void TGameLink::SendRoomText(const std::string& text)
{
    if (!text.empty() && text[0] == '/') {
        host_.RunCommand(text);
    } else if (dispatch_) {
        dispatch_->SendRoom(text);
    }
}

void TGameLink::SendPrivate(const std::string& id, const std::string& text)
{
    if (dispatch_)
        dispatch_->SendPrivateTo(id, text);
}

void TGameLink::TerminalText(const std::string& text)
{
    if (ports_)
        ports_->Print(text, false);
}

bool TGameLink::InRoom() const
{
    const TCManager* m = Model();
    return m && m->currentRoom > 0;
}

bool TGameLink::InMultiRoom() const
{
    const TCManager* m = Model();
    return m && m->currentRoom > 0 && m->CheckRoom(m->currentRoom) == 0 && m->Room(m->currentRoom).state == RoomMulti;
}

bool TGameLink::CheckOpponent(const std::string& id)
{
    const TCManager* m = Model();
    if (!m || m->currentRoom <= 0)
        return false;
    // In a multi-game room only the host takes requests.
    if (InMultiRoom() && session_ && id != session_->MultiHostId)
        return false;
    if (m->FindUserInRoom(id, m->currentRoom) >= 0)
        return true;
    if (ports_)
        ports_->Print("   ### " + id + KS("님은 이방에 계시지 않습니다."), false);
    return false;
}

std::string TGameLink::UserLabel(const std::string& id)
{
    const TCManager* m = Model();
    int u = m ? m->FindUser(id) : -1;
    if (u < 0)
        return id;
    const UserRecord& r = m->User(u);
    return r.nickname + "(" + id + ") " + RankText(r.level, false);
}

std::string TGameLink::DateText()
{
    return host_.DateText();
}

std::string TGameLink::DateSuffix()
{
    return host_.DateSuffix();
}

void TGameLink::ReportRequestCancelled()
{
    if (dispatch_)
        dispatch_->CancelGameRequest();
}

void TGameLink::ReportRequestRefused()
{
    if (dispatch_)
        dispatch_->RefuseGameRequest();
}

void TGameLink::ReportGameStarted(const std::string& blackId, const std::string& whiteId)
{
    const TCManager* m = Model();
    if (m)
        dispatch_->SendGameStart(m->FindUser(blackId), m->FindUser(whiteId));
}

void TGameLink::ReportGameOver()
{
    if (dispatch_)
        dispatch_->SendGameEnd();
}

void TGameLink::ReportResult(bool userIsBlack, const std::string& opponentId, const std::string& winnerWord,
                             const std::string& handicapCode)
{
    if (dispatch_)
        dispatch_->ReportResult(userIsBlack, opponentId, winnerWord, handicapCode);
}

void TGameLink::RememberOpponent(const std::string& blackId, const std::string& whiteId)
{
    if (!session_ || session_->IsMultiHost())
        return;
    const std::string& other = session_->MyId == blackId ? whiteId : blackId;
    if (other.empty() || other == session_->MyId)
        return;
    settings_.friends.lastPartner = other;
    if (settings_.save)
        settings_.save("Friends Info");
}

void TGameLink::SessionStarted()
{
    host_.GameSessionStarted();
    std::vector<std::string> ids;
    ids.swap(latecomers_);
    if (session_)
        for (const std::string& id : ids)
            session_->MemberEntered(id);
}

void TGameLink::SessionEnded(int previousKind)
{
    host_.GameSessionEnded(previousKind);
}

void TGameLink::ReviewStarted()
{
    if (dispatch_)
        dispatch_->SendReviewStart();
}

void TGameLink::ReviewEnded()
{
    if (dispatch_)
        dispatch_->SendReviewEnd();
}

// ---- from the connection logic ----

// Only the user's own game holds the program; watching one does not.
bool TGameLink::GameInProgress() const
{
    return session_ && session_->GameOpen() && session_->SessionKind() == 0 && session_->IsPlayer();
}

void TGameLink::OnConnectionDropped()
{
    queue_.Clear();
    latecomers_.clear();
    if (!session_)
        return;
    // Without the connection the game cannot go on; keep it resumable.
    if (GameInProgress())
        session_->ForcedStop(KS("본인"), session_->MyId);
}

void TGameLink::CancelPendingRequest()
{
    if (session_)
        session_->CancelPendingRequest();
}

void TGameLink::Tick(std::int32_t now)
{
    SyncIdentity();
    queue_.Tick(now);
    if (session_)
        session_->Tick(now);
}

} // namespace zel
