#include "core/game/BBS2Zel.h"

#include <algorithm>

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/game/GamePorts.h"
#include "core/game/GameTexts.h"
#include "core/ports/Clock.h"
#include "core/ports/Prompts.h"
#include "core/ports/Random.h"
#include "core/ports/Sound.h"

namespace zel {
namespace {

// A received commentary becomes one line of the game's record: a control
// byte that ends lines would split the record.
bool IsRecordLineSafe(std::string_view body)
{
    return !body.empty() && body.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

} // namespace

TBBS2Zel::TBBS2Zel(const TSessionServices& services) : s_(services), voice_(services.sound, services.countdownVoice)
{
    now_ = s_.clock.Now();
    queueMark_ = clockMark_ = now_;
    sessionId_ = NumToCode3(static_cast<int>(s_.random.Next(17575)));
    board_.OnMove = [this](TGoBoard&, const TMoveInfo& info, bool advanced) { OnBoardMove(info, advanced); };
    board_.OnPointChange = [this](TGoBoard&, int x, int y, int mark, std::uint8_t colour) {
        if (!replaying_)
            s_.window.PointChanged(x, y, mark, colour);
    };
    info_.TimeOver = [this](std::uint8_t colour, int count, int period) { OnTimeOver(colour, count, period); };
    info_.InfoMode = 0;
}

// ---- predicates ----

bool TBBS2Zel::IsPlayer() const
{
    return sessionKind_ == kGameSession && !MyId.empty() && (MyId == header_.BlackId || MyId == header_.WhiteId);
}

bool TBBS2Zel::IsBlackPlayer() const
{
    return sessionKind_ == kGameSession && !MyId.empty() && MyId == header_.BlackId;
}

bool TBBS2Zel::IsMultiHost() const
{
    return !MultiHostId.empty() && MultiHostId == MyId;
}

bool TBBS2Zel::IsMyTurn() const
{
    if (MyId.empty())
        return false;
    return (MyId == header_.BlackId && board_.ColourToMove() == kBlack) ||
           (MyId == header_.WhiteId && board_.ColourToMove() == kWhite);
}

bool TBBS2Zel::ForThisGame() const
{
    return !header_.GameId.empty() && header_.MsgGameId == header_.GameId;
}

bool TBBS2Zel::ForMyGame() const
{
    return ForThisGame() && IsPlayer();
}

bool TBBS2Zel::ForShownGame() const
{
    return gameOpen_ && ForThisGame();
}

void TBBS2Zel::SetGameId(const std::string& key)
{
    if (key != header_.GameId)
        ++epoch_;
    header_.GameId = key;
    s_.window.GameKeyChanged(key);
}

void TBBS2Zel::TimedNotice(const std::string& text, int ms)
{
    s_.prompts.Notify(text, ms);
}

TBBS2Zel::Answer TBBS2Zel::Ask(const std::string& text, const std::string& okCaption, const std::string& cancelCaption)
{
    const std::uint32_t epoch = epoch_;
    const bool yes = s_.prompts.Confirm(text, okCaption, cancelCaption);
    if (epoch != epoch_)
        return Answer::Stale;
    return yes ? Answer::Yes : Answer::No;
}

bool TBBS2Zel::Tell(const std::string& text)
{
    const std::uint32_t epoch = epoch_;
    s_.prompts.Alert(text);
    return epoch == epoch_;
}

bool TBBS2Zel::ShowDeadMarkNotice()
{
    const std::uint32_t epoch = epoch_;
    s_.window.ShowDeadMarkNotice();
    return epoch == epoch_;
}

void TBBS2Zel::RedrawBoard()
{
    TGoSnapshot snapshot;
    board_.SaveSnapshot(snapshot);
    s_.window.ShowBoard(snapshot);
}

bool TBBS2Zel::CanAct()
{
    if (!IsPlayer()) {
        TimedNotice(KS("대국자만 가능합니다!"), 1500);
        return false;
    }
    if (deadMarkStage_ > 0)
        return false;
    if (IsMyTurn() && !awaitingReply_)
        return true;
    if (IsMyTurn())
        TimedNotice(KS("상대방의 응답을 기다리는 중 입니다!"), 1500);
    else
        TimedNotice(KS("두실 차례에만 가능합니다!"), 1500);
    return false;
}

// ---- sending ----

char TBBS2Zel::NextLetter()
{
    msgLetterIndex_ = (msgLetterIndex_ + 1) % 26;
    return static_cast<char>(65 + msgLetterIndex_);
}

void TBBS2Zel::SendRaw(const std::string& text)
{
    if (OnSendGame)
        OnSendGame(text);
}

void TBBS2Zel::SendGameMessage(bool store, int turnMode, const std::string& body)
{
    if (store) {
        pendingBody_ = body;
        SaveBoard();
    }
    SendRaw("XA" + header_.GameId + sessionId_ + body);
    ApplyTurnMode(turnMode);
    if (!IsMultiHost() && IsPlayer() && awaitingReply_) {
        bool ordinaryBlack = MyId == header_.BlackId && MultiHostId != header_.WhiteId;
        ArmResend(ordinaryBlack ? kBlackResendTimeout : store ? kResendTimeout : resendTimeout_);
    }
}

void TBBS2Zel::ApplyTurnMode(int mode)
{
    switch (mode) {
    case 0:
        // The player to move may act once nothing is outstanding; a player
        // who waits may not. The board input follows below.
        // The host moves on the board shown whenever it is the host's turn
        // there (white, unless a guest chose white).
        if (IsMultiHost())
            inputEnabled_ = IsMyTurn() && deadMarkStage_ == 0;
        else if (IsPlayer() && deadMarkStage_ == 0)
            inputEnabled_ = IsMyTurn();
        awaitingReply_ = !IsMyTurn();
        break;
    case 1:
        inputEnabled_ = true;
        awaitingReply_ = false;
        break;
    case 2:
        inputEnabled_ = false;
        awaitingReply_ = true;
        break;
    case 3:
        inputEnabled_ = false;
        awaitingReply_ = false;
        break;
    default:
        return;
    }
    RefreshBoardInput();
}

void TBBS2Zel::RefreshBoardInput()
{
    // The host's clocks do not run; the board takes clicks on the host's turn.
    if (gameOpen_ && IsMultiHost() && IsPlayer()) {
        if (deadMarkStage_ == 0)
            s_.window.SetBoardInput(inputEnabled_);
        return;
    }
    if (gameOpen_ && !IsMultiHost() && IsMyTurn()) {
        if (deadMarkStage_ > 0)
            return;
        info_.SetRunning(!awaitingReply_, now_);
        s_.window.SetBoardInput(inputEnabled_);
        return;
    }
    s_.window.SetBoardInput(false);
}

void TBBS2Zel::ArmResend(std::int32_t timeout)
{
    resendArmed_ = true;
    resendSince_ = now_;
    resendTimeout_ = timeout;
}

void TBBS2Zel::DisarmResend()
{
    resendArmed_ = false;
    resendTimeout_ = 0;
}

void TBBS2Zel::Resend()
{
    if (IsMultiHost() || !awaitingReply_) {
        DisarmResend();
        return;
    }
    if (IsPlayer() && !pendingBody_.empty()) {
        ArmResend(resendTimeout_);
        // An accepter who has not heard from the requester yet sends its
        // acceptance again first: without it the requester has no game.
        if (Mends && !peerHeard_ && answered_.Code == "GSR" && answered_.GameId == header_.GameId &&
            answered_.Body != pendingBody_)
            SendRaw("XA" + answered_.GameId + sessionId_ + answered_.Body);
        SendGameMessage(false, 4, pendingBody_);
    }
}

// ---- time ----

void TBBS2Zel::Tick(std::int32_t now)
{
    now_ = now;
    if (resendArmed_ && SinceMidnightMark(now, resendSince_) >= resendTimeout_)
        Resend();
    if (clickLock_ && SinceMidnightMark(now, clickLockSince_) >= kClickLockSpan)
        clickLock_ = false;
    // Waits for "GSA" or "GSC"; a copy reaching an addressee that answered
    // already is answered again.
    if (Mends && requestPending_ && !requestBody_.empty() &&
        SinceMidnightMark(now, requestSentAt_) >= kRequestResendMs) {
        requestSentAt_ = now;
        SendRaw("XA" + requestKey_ + sessionId_ + requestBody_);
    }
    // Waits for any message of the opponent in the resumed game, or its
    // receipt for a copy of the state.
    if (Mends && stateUnconfirmed_) {
        if (!gameOpen_ || peerHeard_) {
            stateUnconfirmed_ = false;
        } else if (SinceMidnightMark(now, stateSentAt_) >= kStateResendMs) {
            stateSentAt_ = now;
            SendGameState({});
        }
    }
    if (requestPending_ && !s_.lobby.InMultiRoom() && SinceMidnightMark(now, requestSince_) > kRequestTimeout) {
        requestPending_ = false;
        TimedNotice(KS("상대방이 응답하지 않습니다."), 2000);
    }
    if (queueTimerOn_ && SinceMidnightMark(now, queueMark_) >= queueInterval_) {
        queueMark_ = now;
        HandleQueue();
    }
    if (SinceMidnightMark(now, clockMark_) >= 500) {
        clockMark_ = now;
        info_.Tick(now);
    }
}

// ---- reception ----

void TBBS2Zel::OnGameData(const std::string& m)
{
    if (Mends && AnswerRepeat(m))
        return;
    // A guest playing in a multi-game room hears every other guest's game:
    // none of it concerns this one, and it would only fill the queue while
    // the guest thinks.
    if (gameOpen_ && sessionKind_ == kGameSession && IsPlayer() && !IsMultiHost() && s_.lobby.InMultiRoom() &&
        m.compare(0, 3, header_.GameId) != 0)
        return;
    // Without a game of our own, a message seen before may belong to the
    // game whose acceptance is still on its way: it is handled again then.
    if (m == lastMessage_ && !(Mends && !gameOpen_)) {
        // The host never sends again by itself: a guest's copy of what the
        // host handled last is answered from that guest's board.
        if (IsMultiHost())
            AnswerBoardCopy(m);
        else if (IsPlayer())
            SendRaw("XA" + m.substr(0, 3) + sessionId_ + "GPT" + NextLetter());
        return;
    }
    if (inRead_ == inWrite_) {
        Enqueue(m);
        queueTimerOn_ = true;
        queueInterval_ = 200;
        queueMark_ = now_;
        TellRequestWaits(m);
        return;
    }
    const bool newerPosition = sessionKind_ == kReviewSession && m.find("XXXXXXGBS") != std::string::npos;
    for (int i = (inRead_ + 1) % kSlots;; i = (i + 1) % kSlots) {
        if (inSlots_[i] == m) {
            if (IsPlayer() && m.size() > 2)
                SendRaw("XA" + m.substr(0, 3) + sessionId_ + "GPT" + NextLetter());
            return;
        }
        // Only the newest review position waits.
        if (newerPosition && inSlots_[i].find("XXXXXXGBS") != std::string::npos) {
            inSlots_[i] = m;
            return;
        }
        if (i == inWrite_)
            break;
    }
    Enqueue(m);
    TellRequestWaits(m);
}

void TBBS2Zel::TellRequestWaits(const std::string& m)
{
    if (!IsMultiHost() || m.size() < 12 || m.compare(6, 3, "GSR") != 0)
        return;
    std::size_t pos = 9;
    const std::string id = NextField(m, pos);
    // The line goes to the requester the request names, never to an id too
    // long or odd to be one.
    if (id.empty() || id == MyId || id.size() > kMaxIdBytes ||
        std::any_of(id.begin(), id.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; }))
        return;
    s_.lobby.SendPrivate(id, KS("   ### 대국 신청을 처리 중입니다. 잠시 기다려 주세요.") + "\r\n");
}

bool TBBS2Zel::AnswerRepeat(const std::string& m)
{
    if (m.size() < 9 || m.compare(3, 3, sessionId_) == 0)
        return false;
    const std::string game = m.substr(0, 3);
    if (IsMultiHost() && m.compare(6, 3, "GSR") == 0 && AnswerBoardRequest(game))
        return true;
    if (!answered_.Body.empty() && game == answered_.GameId && m.compare(6, 3, answered_.Code) == 0 &&
        m.compare(9, std::string::npos, answered_.Payload) == 0) {
        SendRaw("XA" + game + sessionId_ + answered_.Body);
        return true;
    }
    if (!closingBodies_.empty() && game == closedGameId_ && !(gameOpen_ && header_.GameId == game)) {
        for (const std::string& body : closingBodies_)
            SendRaw("XA" + game + sessionId_ + body);
        return true;
    }
    return false;
}

void TBBS2Zel::SendAnswer(const std::string& request, bool store, int turnMode, const std::string& body)
{
    answered_ = {header_.GameId, header_.MsgCode, request, body};
    SendGameMessage(store, turnMode, body);
}

bool TBBS2Zel::SeenRecently(const std::string& p) const
{
    return std::find(recent_.begin(), recent_.end(), p) != recent_.end();
}

void TBBS2Zel::Remember(const std::string& p)
{
    recent_[static_cast<std::size_t>(recentNext_)] = p;
    recentNext_ = (recentNext_ + 1) % kRecentPayloads;
}

bool TBBS2Zel::Fits(const std::string& code, const std::string& p) const
{
    const char family = code[1];
    const bool request = code[2] == 'R';
    switch (family) {
    case 'P':
        // A move numbered below the board's count was applied or taken back.
        return p.size() < 7 || Code2ToNum(p) - 1 >= board_.MoveCount();
    case 'R':
    case 'C':
        if (code == "GRR")
            return p.size() >= 2 && board_.MoveCount() == Code2ToNum(p) + 2;
        if (request)
            return deadMarkStage_ == 0 && !IsMyTurn();
        // The answer repeats our request's count and letter.
        return p.size() >= 3 && pendingBody_ == std::string("G") + family + "R" + p.substr(0, 3);
    case 'E':
        if (request)
            return deadMarkStage_ == 0 && !IsMyTurn();
        return pendingBody_.rfind("GER", 0) == 0;
    case 'D': {
        if (request)
            return deadMarkStage_ > 0 && !deadMarker_.empty() && deadMarker_ != MyId;
        // An agreement or refusal names the list we sent.
        std::size_t pos = 0;
        return pendingBody_.rfind("GDR" + NextField(p, pos) + "\\#", 0) == 0;
    }
    default:
        return true; // resignation and time loss end the game in any state
    }
}

void TBBS2Zel::Enqueue(const std::string& m)
{
    int next = (inWrite_ + 1) % kSlots;
    if (next == inRead_) {
        // 299 messages wait: the newest is dropped rather than overwrite one.
        ++dropped_;
        return;
    }
    inWrite_ = next;
    inSlots_[inWrite_] = m;
}

void TBBS2Zel::HandleQueue()
{
    if (inRead_ == inWrite_) {
        queueTimerOn_ = false;
        return;
    }
    if (sessionKind_ == kReviewSession) {
        HandleReviewQueue();
        return;
    }
    if (queueBusy_ || (IsPlayer() && inputEnabled_) || (!s_.window.ShowsLiveGame() && sessionKind_ != kNoSession))
        return;
    queueBusy_ = true;
    queueInterval_ = 150;
    inRead_ = (inRead_ + 1) % kSlots;
    std::string m = std::move(inSlots_[inRead_]);
    inSlots_[inRead_].clear();
    auto part = [&m](std::size_t at, std::size_t n) { return at < m.size() ? m.substr(at, n) : std::string(); };
    header_.MsgGameId = part(0, 3);
    header_.MsgSession = part(3, 3);
    header_.MsgCode = part(6, 3);
    std::string payload = part(9, std::string::npos);
    if (header_.MsgCode != "GPT")
        lastMessage_ = m;
    // A receipt tells of the opponent only where it acknowledges a resumed
    // game's state: a requester without the game sends receipts too.
    if (gameOpen_ && ForThisGame() && header_.MsgSession != sessionId_ &&
        (header_.MsgCode != "GPT" || stateUnconfirmed_))
        peerHeard_ = true;
    // The host's message takes up its board first and leaves it saved; one
    // for no board in play is dropped.
    const bool hostBoard = IsMultiHost() && header_.MsgCode != "GSR" && header_.MsgCode != "GBR";
    if (hostBoard && !SelectBoard()) {
        queueBusy_ = false;
        return;
    }
    if (header_.MsgCode.size() == 3 && header_.MsgCode[0] == 'G')
        Dispatch(payload);
    if (hostBoard)
        SaveBoard();
    queueBusy_ = false;
}

TBBS2Zel::Check TBBS2Zel::CheckPayload(const std::string& payload, bool clear)
{
    if (payload != lastPayload_) {
        if (ForMyGame()) {
            awaitingReply_ = false;
            RefreshBoardInput();
            DisarmResend();
            if (clear) {
                pendingBody_.clear();
                lastPayload_ = payload;
            }
        }
        return Check::New;
    }
    if (IsMultiHost()) {
        if (ForMyGame())
            AnswerHostDuplicate();
        return Check::Duplicate;
    }
    if (ForMyGame() && awaitingReply_) {
        if (!pendingBody_.empty())
            SendGameMessage(false, 4, pendingBody_);
        else if (!Mends || deadMarkStage_ == 0)
            StartRecovery(); // the move sequence is not at stake while dead stones are marked
    }
    return Check::Duplicate;
}

void TBBS2Zel::Dispatch(const std::string& p)
{
    const std::string code = header_.MsgCode;
    const char family = code[1];
    const char kind = code[2];
    bool multiRoom = s_.lobby.InMultiRoom();
    if (code == "GBR")
        return ReviewOpened(p);
    if (code == "GSR") {
        if (!IsMultiHost() && (gameOpen_ || multiRoom))
            return;
        // A copy of a request whose game is on one of the host's boards.
        if (IsMultiHost() && AnswerBoardRequest(header_.MsgGameId))
            return;
        // Every request carries a fresh game key: the same terms asked again
        // under a new key are a new request, not a copy of the last one.
        // (The host's requests are not filtered, and what it holds belongs
        // to the board shown.)
        if (header_.MsgGameId != header_.GameId && !IsMultiHost())
            lastPayload_.clear();
        if (!IsMultiHost() && CheckPayload(p, true) == Check::Duplicate)
            return;
        ReceiveRequest(p);
        return;
    }
    if (code == "GSA" || code == "GSC") {
        // A copy of the answer that started this game changes nothing.
        if (Mends && gameOpen_ && ForThisGame())
            return;
        std::size_t at = 0;
        if (Mends && code == "GSA" && !gameOpen_ && !multiRoom && s_.lobby.InRoom() &&
            TakeAskedHeader(NextField(p, at)))
            requestPending_ = true;
        Check r = CheckPayload(p, true);
        if (requestPending_ || (!multiRoom && !gameOpen_ && r == Check::New)) {
            if (code == "GSA")
                ReceiveAcceptance(p);
            else
                ReceiveRefusal();
        }
        return;
    }
    if (code == "GPE" || code == "GPV") {
        if (CheckPayload(p, false) != Check::New)
            return;
        if (code == "GPE" && ForMyGame())
            StartRecovery();
        else if (code == "GPV" && ForShownGame() && IsRecordLineSafe(p) && !(chatBlocked_ && IsPlayer()))
            s_.window.ShowReceivedCommentary(p);
        return;
    }
    if (code == "GPN")
        return ReceiveLabel(p);
    if (code == "GPR")
        return ReceiveRecoveryRequest(p);
    if (code == "GPS") {
        // Only the answer to our own open question takes the board back.
        if (Mends && ForMyGame() && !recoveryAsked_)
            return;
        return ReceiveRecoveryAnswer(p);
    }
    if (code == "GPT")
        return ReceiveReceipt();
    static const std::string filtered[] = {"GCA", "GCC", "GCR", "GDA", "GDC", "GDR", "GEA", "GEC",
                                           "GER", "GGR", "GGT", "GRA", "GRC", "GRR", "GPM"};
    bool known = false;
    for (const std::string& f : filtered)
        known = known || f == code;
    if (!known)
        return;
    const bool guarded = Mends && ForMyGame() && !IsMultiHost();
    if (guarded && p != lastPayload_) {
        // A late copy of an older message, or one the game is not at, is
        // neither applied nor taken for an answer; one that came early is
        // taken when it comes again.
        if (SeenRecently(p))
            return;
        if (!Fits(code, p)) {
            lastMessage_.clear();
            return;
        }
    }
    if (CheckPayload(p, true) == Check::Duplicate)
        return;
    if (guarded && family != 'P')
        Remember(p);
    switch (family) {
    case 'P':
        ReceiveMove(p);
        break;
    case 'E':
        if (kind == 'R')
            ReceiveEndRequest(p);
        else
            ReceiveEndAnswer(kind == 'A');
        break;
    case 'D':
        if (kind == 'R')
            ReceiveDeadList(p);
        else if (kind == 'A')
            ReceiveDeadAgreement(p);
        else
            ReceiveDeadRefusal(p);
        break;
    case 'G':
        if (kind == 'R')
            ReceiveResignation(p);
        else
            ReceiveTimeLoss(p);
        break;
    case 'R':
        ReceiveUndo(code, p);
        break;
    case 'C':
        ReceiveAdjourn(code, p);
        break;
    default:
        break;
    }
}

void TBBS2Zel::ReceiveReceipt()
{
    if (ForMyGame() && !IsMultiHost() && resendTimeout_ <= 100000)
        ArmResend(resendTimeout_ * 2);
}

void TBBS2Zel::ReceiveLabel(const std::string& p)
{
    if (!ForShownGame() || p.empty())
        return;
    std::size_t pos = 1;
    std::string label = CutBytes(NextField(p, pos), kMaxIdBytes);
    if (p[0] == 'B')
        header_.BlackLabel = label;
    else if (p[0] == 'W')
        header_.WhiteLabel = label;
    else
        return;
    ShowHeaderInPanel();
}

// ---- recovery ----

void TBBS2Zel::StartRecovery()
{
    if (!ForMyGame())
        return;
    if (!Tell(KS("수순에 문제가 생겨서 복구요청을 합니다")))
        return;
    recoveryAsked_ = true;
    SendGameMessage(false, 2, "GPR" + NumToCode2(board_.MoveCount()) + NextLetter());
}

void TBBS2Zel::UndoTo(int count)
{
    if (count < 0)
        count = 0;
    while (board_.MoveCount() > count)
        board_.Undo();
}

int TBBS2Zel::RecoverTo(const std::string& p)
{
    int n = Code2ToNum(p);
    if (n < 0 || p[0] < 'A' || p[0] > 'Z' || p[1] < 'A' || p[1] > 'Z')
        return -1;
    if (n < board_.MoveCount())
        UndoTo(n);
    return n;
}

void TBBS2Zel::ReceiveRecoveryRequest(const std::string& p)
{
    if (!ForMyGame())
        return;
    int n = RecoverTo(p);
    if (n < 0)
        return;
    SendAnswer(p, true, 0, "GPS" + NumToCode2(std::min(n, board_.MoveCount())) + NextLetter());
}

void TBBS2Zel::ReceiveRecoveryAnswer(const std::string& p)
{
    if (!ForShownGame() || RecoverTo(p) < 0)
        return;
    recoveryAsked_ = false;
    if (ForMyGame()) {
        TimedNotice(KS("수순이 복구 되었습니다."), 1500);
        ApplyTurnMode(0);
    }
}

// ---- moves ----

void TBBS2Zel::BoardClick(int x, int y)
{
    if (!gameOpen_ || !IsPlayer() || clickLock_)
        return;
    clickLock_ = true;
    clickLockSince_ = now_;
    if (deadMarkStage_ > 0) {
        MarkClick(x, y);
        return;
    }
    if (CanAct())
        board_.PlayAt(x, y);
}

void TBBS2Zel::MarkDeadPoints(const std::vector<std::pair<int, int>>& points)
{
    if (!gameOpen_ || !IsPlayer() || deadMarkStage_ == 0)
        return;
    for (const auto& [x, y] : points) {
        const int mark = board_.Mark(x, y);
        if (board_.Colour(x, y) != kEmpty && mark != kMarkBlackPoint && mark != kMarkWhitePoint)
            MarkClick(x, y);
    }
}

void TBBS2Zel::Pass()
{
    if (CanAct())
        board_.PlayPass();
}

void TBBS2Zel::OnBoardMove(const TMoveInfo& info, bool advanced)
{
    if (replaying_)
        return;
    info_.SetNowSeq(std::to_string(info.MoveCount));
    int lx = 0, ly = 0;
    board_.LastMove(lx, ly);
    info_.SetNowPut(lx >= 0 ? std::to_string(ly) + " " + static_cast<char>(64 + lx) : std::string());
    info_.SetNowTurn(info.ColourToMove == kBlack ? KS("흑") : KS("백"));
    info_.nBSDied = std::to_string(info.WhitePrisoners);
    info_.nWSDied = std::to_string(info.BlackPrisoners);
    voice_.Reset();
    info_.SetNowStone(info.ColourToMove, now_);
    if (!advanced)
        return;
    if (s_.sound)
        s_.sound->PlayStone();
    if (!gameOpen_ || !IsPlayer() || IsMyTurn())
        return;
    std::string body = "GPM" + NumToCode2(info.MoveCount) + (info.ColourToMove == kBlack ? "B" : "W");
    body += NumToLetter(info.X);
    body += NumToLetter(info.Y);
    body += NumToLetter(info.Y);
    body += NumToLetter(info.X);
    if (!IsMultiHost())
        body += info_.ClockText(info.ColourToMove);
    body += NextLetter();
    SendGameMessage(true, 2, body);
}

void TBBS2Zel::ReceiveMove(const std::string& p)
{
    if (!ForShownGame() || p.size() < 7)
        return;
    int n = Code2ToNum(p) - 1;
    std::uint8_t mover = p[2] == 'B' ? kWhite : p[2] == 'W' ? kBlack : kEmpty;
    int x = p[3] == p[6] ? p[3] - 65 : -1;
    int y = p[4] == p[5] ? p[4] - 65 : -1;
    if (p.size() > 16 && !IsMultiHost() && mover != kEmpty)
        info_.ApplyClockText(mover, std::string_view(p).substr(7));
    bool applied = false;
    if (mover != kEmpty && board_.MoveCount() == n && board_.IsToMove(mover) && x >= 0 && x < 20 && y >= 0 && y < 20) {
        if (x == 0) {
            applied = board_.PlayPass();
            if (applied)
                TimedNotice(KS("수순 넘김 하였습니다."), 1000);
        } else {
            // A point the local board refuses is a mismatch like any other,
            // so the boards never part.
            applied = board_.PlayAt(x, y);
        }
    }
    if (applied) {
        if (Mends && IsPlayer())
            Remember(p);
        if (IsPlayer()) {
            ApplyTurnMode(1);
            if (!IsMultiHost()) {
                std::uint8_t mine = MyId == header_.BlackId ? kBlack : kWhite;
                int last = info_.LastPeriodSeconds(mine);
                if (last > 0)
                    TimedNotice(KS("마지막 ") + std::to_string(last) + KS(" 초 입니다."), 1000);
            }
        }
        return;
    }
    lastPayload_.clear();
    if (!IsPlayer()) {
        if (board_.MoveCount() < n) {
            if (catchUpFrom_.size() == kMaxCatchUps)
                catchUpFrom_.erase(catchUpFrom_.begin());
            catchUpFrom_.push_back(board_.MoveCount());
            s_.lobby.SendPrivate(header_.BlackId, ">M<" + NumToCode2(board_.MoveCount()) + MyId + "\\#>D<");
        }
        return;
    }
    ApplyTurnMode(0);
}

void TBBS2Zel::OnTimeOver(std::uint8_t colour, int count, int periodSeconds)
{
    const std::uint8_t mine = MyId == header_.BlackId ? kBlack : kWhite;
    const bool own = IsPlayer() && !IsMultiHost() && colour == mine;
    if (own)
        voice_.Notice(count);
    if (count < 0) {
        if (!own)
            return;
        if (count == -1)
            LoseOnTime();
        else if (count == -2)
            TimedNotice(KS("마지막 ") + std::to_string(periodSeconds) + KS(" 초 입니다."), 1000);
        else
            TimedNotice(std::to_string(periodSeconds) + KS(" 초 초읽기 ") + std::to_string(-count - 1) +
                            KS(" 번 남았습니다."),
                        1000);
        return;
    }
    if (count > 0 && gameOpen_ && s_.window.ShowsLiveGame())
        s_.window.ShowCountdown(count);
}

// ---- commands ----

void TBBS2Zel::Command(int code)
{
    switch (code) {
    case 4: {
        TMarkGrid numbers{};
        board_.NumberAllMoves(numbers);
        break;
    }
    case 5:
        board_.SetShowNumbers(false);
        break;
    case 6:
        if (CanAct())
            RequestUndo();
        break;
    case 7:
        if (!chatBlocked_)
            s_.lobby.SendRoomText("/elmzs");
        break;
    case 8:
        s_.lobby.SendRoomText("/elmzr");
        break;
    case 9:
        Pass();
        break;
    case 10:
        if (CanAct())
            Resign();
        break;
    case 11:
        if (CanAct())
            RequestEnd();
        break;
    case 12:
        if (!s_.lobby.InMultiRoom() && CanAct())
            RequestAdjourn();
        break;
    case 13:
        sessionKind_ = kMultiLeftSession;
        EndSession();
        if (s_.lobby.InMultiRoom())
            s_.lobby.SendRoomText(">S<GRR>B<" + s_.lobby.UserLabel(MyId));
        break;
    case 14:
        // The host's boards are kept for the host's return.
        if (IsMultiHost() && ActiveBoards() > 0)
            ForcedStop(KS("본인"), MyId);
        EndSession();
        s_.lobby.SendRoomText("/q");
        break;
    case 25:
        FinishMarking();
        break;
    case 32:
        if (IsMultiHost() && gameOpen_ && ActiveBoards() == 0) {
            EndSession();
            break;
        }
        if (IsPlayer()) {
            if (!Tell(KS("대국이 종료되지 않았습니다.")))
                break;
            s_.window.ChatLine("     ");
            s_.window.ChatLine(KS("   ### 게임을 중단 하시려면 '/x' 하세요."));
        }
        break;
    default:
        break;
    }
}

void TBBS2Zel::GiboEvent(int kind, const std::string& text)
{
    if (kind == 0)
        s_.lobby.SendRoomText(text);
    else if (kind == 1 && gameOpen_ && !header_.GameId.empty())
        SendRaw("XA" + header_.GameId + sessionId_ + "GPV" + text);
    else if (kind >= 2 && kind <= 5)
        ReviewGiboEvent(kind, text);
}

bool TBBS2Zel::OpenRecord()
{
    if (gameOpen_)
        return false;
    StartSession(kRecordSession);
    return true;
}

void TBBS2Zel::FeedTerminalLine(const std::string& line)
{
    if (gameOpen_)
        s_.window.ChatLine(line);
}

void TBBS2Zel::NavEvent(int code)
{
    if (code == 1 || code == 2)
        EndSession();
    if (code == 2)
        info_.Reset(5);
}

// ---- life cycle ----

void TBBS2Zel::StartSession(int kind)
{
    ++epoch_;
    deadMarkStage_ = 0;
    catchUpFrom_.clear();
    chatBlocked_ = false;
    inputEnabled_ = false;
    awaitingReply_ = false;
    gameOpen_ = true;
    sessionKind_ = kind;
    replaying_ = false;
    DisarmResend();
    clickLock_ = false;
    // An answer of an earlier game must not pass for a copy in this one.
    lastPayload_.clear();
    recent_.fill({});
    peerHeard_ = false;
    stateUnconfirmed_ = false;
    recoveryAsked_ = false;
    ForgetAsked();
    int layout = 1;
    switch (kind) {
    case kGameSession:
        layout = IsPlayer() ? kPlayingLayout : kObservingLayout;
        break;
    case 1:
        layout = 3;
        break;
    case 2:
        layout = 4;
        break;
    case kRecordSession:
        layout = 5;
        break;
    case 4:
        layout = 7;
        break;
    case kReviewSession:
        layout = 6;
        break;
    default:
        break;
    }
    s_.window.ShowSession(layout);
    board_.SetShowNumbers(false);
    s_.lobby.SessionStarted();
}

// A game that started or ended is no longer one to take up from a late answer.
void TBBS2Zel::ForgetAsked()
{
    for (TGameHeader& h : asked_)
        if (!h.GameId.empty() && h.GameId == header_.GameId)
            h = TGameHeader{};
}

void TBBS2Zel::EndSession()
{
    ++epoch_;
    inRead_ = inWrite_ = 0;
    for (std::string& slot : inSlots_)
        slot.clear();
    queueTimerOn_ = false;
    deadMarkStage_ = 0;
    previousKind_ = sessionKind_;
    sessionKind_ = kNoSession;
    ForgetAsked();
    header_.GameId.clear();
    DisarmResend();
    pendingBody_.clear();
    lastPayload_.clear();
    recent_.fill({});
    peerHeard_ = false;
    stateUnconfirmed_ = false;
    recoveryAsked_ = false;
    clickLock_ = false;
    info_.SetRunning(false, now_);
    if (gameOpen_)
        s_.window.HideSession();
    inputEnabled_ = false;
    awaitingReply_ = false;
    gameOpen_ = false;
    requestPending_ = false;
    reviewHost_ = false;
    reviewTitle_.clear();
    s_.lobby.SessionEnded(previousKind_);
}

void TBBS2Zel::CloseGame()
{
    if (IsMultiHost()) {
        if (currentBoard_ >= 1 && currentBoard_ <= boardCount_)
            boards_[static_cast<std::size_t>(currentBoard_)].Active = false;
        if (ActiveBoards() > 0) {
            // The finished board stays shown until a message of another
            // board takes its place.
            deadMarkStage_ = 0;
            deadMarker_.clear();
            pendingBody_.clear();
            DisarmResend();
            inputEnabled_ = false;
            awaitingReply_ = false;
            s_.window.SetBoardInput(false);
            s_.window.ShowPlayButton();
            return;
        }
    }
    EndSession();
}

void TBBS2Zel::MemberEntered(const std::string& id)
{
    if (id.empty() || id == MyId || !gameOpen_)
        return;
    if (sessionKind_ == kReviewSession) {
        ReviewTitleAsked(id);
        return;
    }
    if (!IsBlackPlayer())
        return;
    if (s_.lobby.InMultiRoom())
        SendStatusLine(id);
    else
        SendGameState(id);
}

} // namespace zel
