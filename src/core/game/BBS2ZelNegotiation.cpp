#include <algorithm>

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/game/BBS2Zel.h"
#include "core/game/GamePorts.h"
#include "core/game/GameSetModel.h"
#include "core/game/GameTexts.h"
#include "core/ports/FileStore.h"
#include "core/ports/Prompts.h"
#include "core/ports/Random.h"
#include "core/record/SafeName.h"

namespace zel {

namespace {

bool AllCapitals(std::string_view text)
{
    for (char c : text)
        if (c < 'A' || c > 'Z')
            return false;
    return true;
}

} // namespace

void TBBS2Zel::SetClocksFromHeader()
{
    TClockTerms t = ClockTerms(header_);
    info_.SetClock(kBlack, t.MainSeconds, t.PeriodSeconds, t.Periods);
    if (s_.lobby.InMultiRoom())
        info_.SetClock(kWhite, 5400, 60, 3);
    else
        info_.SetClock(kWhite, t.MainSeconds, t.PeriodSeconds, t.Periods);
}

void TBBS2Zel::ShowHeaderInPanel()
{
    info_.BPlayer = header_.BlackLabel;
    info_.WPlayer = header_.WhiteLabel;
    info_.Method = header_.MethodText;
    info_.SetNowSeq(std::to_string(board_.MoveCount()));
}

void TBBS2Zel::ResetBoardWithHandicap()
{
    board_.ResetGame();
    board_.SetHandicap(LetterToNum(header_.HandicapCode), 0);
}

void TBBS2Zel::RequestGame(const std::string& opponentId)
{
    if (!s_.lobby.InRoom())
        return;
    TGameSetModel set;
    set.BlackId = MyId;
    set.WhiteId = opponentId;
    set.HostId = MultiHostId;
    // The dialog's button settles the colours. A session that started while
    // the dialog was open keeps its header: the request is dropped.
    const std::uint32_t epoch = epoch_;
    const bool asked = s_.dialogs.ShowGameSet(set);
    if (!asked || !set.Confirmed() || epoch != epoch_ || gameOpen_) {
        s_.lobby.ReportRequestCancelled();
        return;
    }
    if (!s_.lobby.CheckOpponent(opponentId))
        return;
    msgLetterIndex_ = 0;
    lastPayload_.clear();
    DisarmResend();

    header_.BlackId = CutBytes(set.BlackId, kMaxIdBytes);
    header_.WhiteId = CutBytes(set.WhiteId, kMaxIdBytes);
    header_.BlackLabel = CutBytes(s_.lobby.UserLabel(header_.BlackId), kMaxIdBytes);
    header_.WhiteLabel = CutBytes(s_.lobby.UserLabel(header_.WhiteId), kMaxIdBytes);
    std::string adjourned;
    for (const std::string& name :
         {header_.BlackId + header_.WhiteId + ".tmp", header_.WhiteId + header_.BlackId + ".tmp"}) {
        if (adjourned.empty() && IsBareName(name) && s_.records.Exists(name))
            adjourned = name;
    }
    SetGameId(NumToCode3(static_cast<int>(s_.random.Next(17575))));
    header_.Active = 1;
    header_.ResumeCount = "AA";
    header_.HandicapCode = std::string(1, NumToLetter(set.Handicap));
    header_.KomiSideCode = std::string(1, NumToLetter(set.KomiSide));
    header_.KomiCode = NumToCode2(set.Komi);
    header_.TimeModeCode = std::string(1, NumToLetter(set.TimeMode));
    if (set.TimeMode == 0) {
        header_.MainTimeCode = NumToCode2(90);
        header_.ByoSecondsCode = NumToCode2(60);
        header_.ByoCountCode = NumToCode2(3);
    } else if (set.TimeMode == 1) {
        header_.MainTimeCode = NumToCode2(set.KBase);
        header_.ByoSecondsCode = NumToCode2(set.KSec);
        header_.ByoCountCode = NumToCode2(set.KCount);
    }
    header_.MethodText = MethodText(set.Handicap, header_.KomiSideCode, set.Komi);
    header_.PairKey = header_.BlackId + header_.WhiteId;

    const Resumption resumed = adjourned.empty() ? Resumption::Declined : ResumeAdjourned(adjourned);
    if (resumed == Resumption::Stale) {
        s_.lobby.ReportRequestCancelled();
        return;
    }
    if (resumed == Resumption::Resumed && s_.lobby.InMultiRoom()) {
        // The host has the board already: both take it up at the shorter
        // of the two move sequences.
        pendingBody_.clear();
        recoveryAsked_ = true;
        SendGameMessage(true, Mends ? 2 : 3, "GPR" + NumToCode2(board_.MoveCount()) + NextLetter());
        s_.lobby.ReportGameStarted(header_.BlackId, header_.WhiteId);
        return;
    }
    if (resumed == Resumption::Resumed) {
        pendingBody_.clear();
        ApplyTurnMode(0);
        SendGameState({});
        stateUnconfirmed_ = Mends;
        stateSentAt_ = now_;
        if (IsMyTurn())
            s_.window.SetBoardInput(true);
        s_.lobby.RememberOpponent(header_.BlackId, header_.WhiteId);
        s_.lobby.ReportGameStarted(header_.BlackId, header_.WhiteId);
        return;
    }
    requestPending_ = true;
    requestSince_ = now_;
    SetClocksFromHeader();
    std::string body = "GSR" + MyId + "\\#" + header_.ResumeCount + header_.BlackId + "\\#" + header_.WhiteId + "\\#" +
                       header_.HandicapCode + header_.KomiSideCode + header_.KomiCode + header_.TimeModeCode +
                       header_.MainTimeCode + header_.ByoSecondsCode + header_.ByoCountCode + "\\#" +
                       header_.BlackLabel + "\\#" + header_.WhiteLabel + "\\#";
    body += NextLetter();
    requestBody_ = body;
    requestKey_ = header_.GameId;
    requestSentAt_ = now_;
    asked_[1] = asked_[0];
    asked_[0] = header_;
    SendGameMessage(false, 2, body);
}

bool TBBS2Zel::TakeAskedHeader(const std::string& accepter)
{
    const std::string& key = header_.MsgGameId;
    if (key.empty() || key == header_.GameId)
        return false;
    for (const TGameHeader& h : asked_) {
        const std::string& other = MyId == h.BlackId ? h.WhiteId : h.BlackId;
        if (h.GameId != key || MyId.empty() || (MyId != h.BlackId && MyId != h.WhiteId) || accepter != other)
            continue;
        TGameHeader msg = header_;
        header_ = h;
        header_.MsgGameId = msg.MsgGameId;
        header_.MsgSession = msg.MsgSession;
        header_.MsgCode = msg.MsgCode;
        ++epoch_;
        s_.window.GameKeyChanged(key);
        SetClocksFromHeader();
        return true;
    }
    return false;
}

void TBBS2Zel::ReceiveRequest(const std::string& p)
{
    if (!s_.lobby.InRoom())
        return;
    // Parse before anything changes: a request whose codes are not letters
    // is dropped whole.
    std::size_t pos = 0;
    NextField(p, pos);
    if (pos + 2 > p.size())
        return;
    std::string resume = p.substr(pos, 2);
    pos += 2;
    std::string black = CutBytes(NextField(p, pos), kMaxIdBytes);
    std::string white = CutBytes(NextField(p, pos), kMaxIdBytes);
    if (pos + 11 > p.size())
        return;
    std::string codes = p.substr(pos, 11);
    pos += 11;
    NextField(p, pos);
    std::string blackLabel = CutBytes(NextField(p, pos), kMaxIdBytes);
    std::string whiteLabel = CutBytes(NextField(p, pos), kMaxIdBytes);
    if (!AllCapitals(resume) || !AllCapitals(codes) || LetterToNum(codes.substr(0, 1)) > 10)
        return;
    // The host's boards keep their headers: a request between others, or
    // one the table has no room for, changes none of them.
    const bool host = IsMultiHost();
    if (host) {
        std::size_t at = 0;
        const std::string requester = NextField(p, at);
        if (MyId.empty() || (MyId != black && MyId != white) || requester == MyId ||
            (requester != black && requester != white))
            return;
        SaveBoard();
    }

    msgLetterIndex_ = 0;
    pendingBody_.clear();
    header_.Active = 1;
    SetGameId(header_.MsgGameId);
    header_.PeerSession = header_.MsgSession;
    header_.ResumeCount = resume;
    header_.BlackId = black;
    header_.WhiteId = white;
    header_.HandicapCode = codes.substr(0, 1);
    header_.KomiSideCode = codes.substr(1, 1);
    header_.KomiCode = codes.substr(2, 2);
    header_.TimeModeCode = codes.substr(4, 1);
    header_.MainTimeCode = codes.substr(5, 2);
    header_.ByoSecondsCode = codes.substr(7, 2);
    header_.ByoCountCode = codes.substr(9, 2);
    header_.BlackLabel = blackLabel;
    header_.WhiteLabel = whiteLabel;
    header_.PairKey = CutBytes(black + white, 2 * kMaxIdBytes);
    header_.MethodText =
        MethodText(LetterToNum(header_.HandicapCode), header_.KomiSideCode, Code2ToNum(header_.KomiCode));
    SetClocksFromHeader();

    if (MyId.empty() || (MyId != black && MyId != white))
        return;
    NextLetter();
    if (resume != "AA")
        return;
    TGameRequestModel request;
    request.Black = blackLabel;
    request.White = whiteLabel;
    request.Method = header_.MethodText;
    request.TimeLimit = TimeLimitText(header_);
    request.Start(now_);
    const std::uint32_t epoch = epoch_;
    const bool accepted = s_.dialogs.ShowGameRequest(request) && !request.Expired();
    if (epoch != epoch_ || (gameOpen_ && !host))
        return;
    const std::string requester = MyId == black ? white : black;
    if (accepted && host && BoardsFull(requester)) {
        // Every board of the table is in play: the guest is told no, and
        // the host why.
        SendAnswer(p, false, 4, "GSC" + MyId + NextLetter());
        TimedNotice(KS("다면기 판이 모두 찼습니다 (") + std::to_string(kMultiBoards) + KS("판)."), 2000);
        return;
    }
    if (!accepted) {
        SendAnswer(p, false, host ? 4 : 3, "GSC" + MyId + NextLetter());
        return;
    }
    ShowHeaderInPanel();
    ResetBoardWithHandicap();
    if (host) {
        TakeBoard(requester);
        if (gameOpen_) {
            // Another board's state must not carry over to the new one.
            deadMarkStage_ = 0;
            deadMarker_.clear();
            lastPayload_.clear();
            s_.window.ShowPlayButton();
        } else {
            StartSession(kGameSession);
        }
        RedrawBoard();
    } else {
        StartSession(kGameSession);
    }
    info_.InfoMode = 0;
    info_.SetTmEnabled(true, now_);
    info_.SetNowStone(board_.ColourToMove(), now_);
    ShowHeaderInPanel();
    s_.lobby.ReportGameStarted(header_.BlackId, header_.WhiteId);
    SendAnswer(p, true, 0, "GSA" + MyId + "\\#" + header_.ResumeCount + "\\#" + NextLetter());
    if (host && currentBoard_ >= 1)
        boards_[static_cast<std::size_t>(currentBoard_)].Accept = answered_.Body;
    if (!s_.lobby.InMultiRoom() && IsMyTurn())
        s_.window.SetBoardInput(true);
    s_.lobby.RememberOpponent(header_.BlackId, header_.WhiteId);
}

void TBBS2Zel::ReceiveAcceptance(const std::string& p)
{
    if (!s_.lobby.InRoom() || !ForThisGame())
        return;
    info_.InfoMode = 0;
    info_.SetTmEnabled(true, now_);
    ResetBoardWithHandicap();
    info_.SetNowStone(board_.ColourToMove(), now_);
    header_.PeerSession = header_.MsgSession;
    std::size_t pos = 0;
    NextField(p, pos);
    if (pos + 2 <= p.size() && AllCapitals(p.substr(pos, 2)))
        header_.ResumeCount = p.substr(pos, 2);
    ShowHeaderInPanel();
    StartSession(kGameSession);
    if (MyId.empty() || (MyId != header_.BlackId && MyId != header_.WhiteId))
        return;
    requestPending_ = false;
    TimedNotice(KS("상대방이 대국요청을 수락하였습니다!"), 1000);
    ApplyTurnMode(0);
    AnnounceStatus();
    s_.lobby.RememberOpponent(header_.BlackId, header_.WhiteId);
    if (!s_.lobby.InMultiRoom() && IsMyTurn())
        s_.window.SetBoardInput(true);
}

void TBBS2Zel::ReceiveRefusal()
{
    if (!s_.lobby.InRoom() || !ForThisGame() || MyId.empty() || (MyId != header_.BlackId && MyId != header_.WhiteId))
        return;
    s_.lobby.ReportRequestRefused();
    TimedNotice(KS("상대방이 응하지 않았습니다."), 2000);
    requestPending_ = false;
    ApplyTurnMode(3);
}

// ---- game state ----

std::string TBBS2Zel::GameStateLine() const
{
    std::string line = CutBytes(header_.GameId + "\\#" + header_.BlackId + "\\#" + header_.WhiteId + "\\#", 69);
    line += board_.GameText() + "\\#";
    line += info_.MainMinutesText() + "\\#";
    line += header_.BlackLabel + "\\#" + header_.WhiteLabel + "\\#";
    line += info_.FullClockText() + "\\#";
    line += header_.KomiSideCode + header_.KomiCode + "\\#";
    return line;
}

bool TBBS2Zel::LoadGameState(std::string_view state)
{
    std::size_t pos = 0;
    std::string black = CutBytes(NextField(state, pos), kMaxIdBytes);
    std::string white = CutBytes(NextField(state, pos), kMaxIdBytes);
    std::string game = NextField(state, pos);
    if (game.size() < 4 || !AllCapitals(game))
        return false;
    header_.BlackId = black;
    header_.WhiteId = white;
    header_.PairKey = black + white;
    header_.HandicapCode = game.substr(0, 1);
    int handicap = LetterToNum(header_.HandicapCode);
    header_.MethodText = HandicapName(handicap);
    info_.BPlayer = black;
    info_.WPlayer = white;
    info_.Method = header_.MethodText;
    info_.SetNowSeq("0");
    int n = (game[1] - 'A') * 100 + (game[2] - 'A') * 10 + (game[3] - 'A');
    if (game.size() < static_cast<std::size_t>(2 * n + 3) || n > kMaxMoves)
        return false;
    board_.ResetGame();
    board_.SetHandicap(handicap, 0);
    replaying_ = true;
    bool ok = true;
    for (int i = 0; i < n && ok; ++i) {
        std::size_t at = 4 + 2 * static_cast<std::size_t>(i);
        if (at + 1 >= game.size()) {
            ok = false;
            break;
        }
        int x = game[at] - 'A';
        int y = game[at + 1] - 'A';
        ok = x == 0 ? board_.PlayPass() : board_.PlayAt(x, y);
    }
    replaying_ = false;
    RedrawBoard();
    if (!ok)
        return false;
    std::string minutes = NextField(state, pos);
    if (minutes.size() >= 4 && AllCapitals(minutes.substr(0, 4))) {
        info_.SetClock(kBlack, Code2ToNum(minutes) * 60, 30, 3);
        info_.SetClock(kWhite, Code2ToNum(minutes.substr(2)) * 60, 30, 3);
    }
    header_.BlackLabel = CutBytes(NextField(state, pos), kMaxIdBytes);
    header_.WhiteLabel = CutBytes(NextField(state, pos), kMaxIdBytes);
    info_.LoadClocks(NextField(state, pos));
    std::string komi = NextField(state, pos);
    if (komi.size() >= 3 && AllCapitals(komi.substr(0, 3))) {
        header_.KomiSideCode = komi.substr(0, 1);
        header_.KomiCode = komi.substr(1, 2);
    }
    header_.MethodText += KomiText(header_.KomiSideCode, Code2ToNum(header_.KomiCode));
    info_.BPlayer = header_.BlackLabel;
    info_.WPlayer = header_.WhiteLabel;
    info_.Method = header_.MethodText;
    info_.SetNowSeq(std::to_string(board_.MoveCount()));
    int lx = 0, ly = 0;
    board_.LastMove(lx, ly);
    if (board_.MoveCount() > 0) {
        info_.SetNowPut(std::to_string(ly) + " " + static_cast<char>(64 + lx));
        info_.SetNowTurn(board_.ColourToMove() == kBlack ? KS("흑") : KS("백"));
    }
    info_.InfoMode = 0;
    info_.SetNowStone(board_.ColourToMove(), now_);
    info_.SetTmEnabled(true, now_);
    info_.SetRunning(true, now_);
    return true;
}

TBBS2Zel::Resumption TBBS2Zel::ResumeAdjourned(const std::string& fileName)
{
    std::string text;
    if (!IsBareName(fileName) || !s_.records.Read(fileName, text))
        return Resumption::Declined;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    StartSession(kGameSession);
    std::size_t pos = 0;
    std::string gameId = NextField(text, pos);
    Answer resume = Answer::No;
    if (gameId.size() == 3 && AllCapitals(gameId) && LoadGameState(std::string_view(text).substr(pos))) {
        SetGameId(gameId);
        resume = Ask(KS("중단대국을 이어두기 하시겠습니까?"), KS("확 인"), KS("취 소"));
    }
    // An answer to a session that is gone keeps the file for a later request.
    if (resume == Answer::Stale)
        return Resumption::Stale;
    s_.records.Remove(fileName);
    if (resume == Answer::No) {
        EndSession();
        return Resumption::Declined;
    }
    s_.window.ShowSession(kPlayingLayout);
    return Resumption::Resumed;
}

void TBBS2Zel::ChangeByoyomi(const std::string& senderId, std::string_view text)
{
    if (!gameOpen_ || !IsPlayer() || senderId.empty() || (senderId != header_.BlackId && senderId != header_.WhiteId))
        return;
    std::size_t at = text.find(">M<");
    if (at != std::string_view::npos)
        info_.SetByoyomi(text.substr(at + 3));
}

// ---- observers catching up ----

void TBBS2Zel::AnswerCatchUp(const std::string& senderId, std::string_view text)
{
    std::size_t at = text.find(">M<");
    std::size_t end = text.find("\\#>D<");
    if (!gameOpen_ || !IsBlackPlayer() || IsMultiHost() || at == std::string_view::npos ||
        end == std::string_view::npos || end < at + 5)
        return;
    const int from = Code2ToNum(text.substr(at + 3, 2));
    const std::string id(text.substr(at + 5, end - at - 5));
    // The moves go to the observer who asked, never to a third user named in
    // someone else's text.
    if (from < 0 || id.empty() || id != senderId)
        return;
    const std::string moves = board_.MovesAfterText(from);
    if (!moves.empty())
        s_.lobby.SendPrivate(id, ">M<" + moves + "\\#>B<");
}

void TBBS2Zel::PlayCatchUp(const std::string& senderId, std::string_view text)
{
    std::size_t at = text.find(">M<");
    std::size_t end = text.find("\\#>B<");
    if (!gameOpen_ || IsPlayer() || senderId.empty() || senderId != header_.BlackId || at == std::string_view::npos ||
        end == std::string_view::npos || end < at + 5)
        return;
    const int count = Code2ToNum(text.substr(at + 3, 2));
    std::string_view pairs = text.substr(at + 5, end - at - 5);
    if (count <= 0 || pairs.size() < static_cast<std::size_t>(count) * 2)
        return;
    // Moves that reached the board while the answer travelled are played
    // already: the answer belongs to the question whose count, followed by
    // the answer's first moves, gives the board as it stands; only what
    // follows is played. An answer that fits no open question changes nothing.
    const int shown = board_.MoveCount();
    auto fits = [&](int from) {
        if (from > shown)
            return false;
        for (int i = from + 1; i <= shown && i - from <= count; ++i) {
            const std::size_t at2 = static_cast<std::size_t>(i - from - 1) * 2;
            if (pairs[at2] - 65 != board_.Move(i).X || pairs[at2 + 1] - 65 != board_.Move(i).Y)
                return false;
        }
        return true;
    };
    auto question = std::find_if(catchUpFrom_.begin(), catchUpFrom_.end(), fits);
    if (question == catchUpFrom_.end())
        return;
    const int from = *question;
    catchUpFrom_.erase(catchUpFrom_.begin(), question + 1);
    for (int i = shown - from; i < count; ++i) {
        const int x = pairs[2 * static_cast<std::size_t>(i)] - 65;
        const int y = pairs[2 * static_cast<std::size_t>(i) + 1] - 65;
        if (x < 0 || x >= 20 || y < 0 || y >= 20)
            break;
        if (x == 0) {
            if (!board_.PlayPass())
                break;
            TimedNotice(KS("수순 넘김 하였습니다."), 1000);
        } else if (!board_.PlayAt(x, y)) {
            break;
        }
    }
}

void TBBS2Zel::ChatBlockMarker(bool blocked, std::string_view text)
{
    std::size_t at = text.find(">M<");
    std::size_t end = text.find(blocked ? ">Z<" : ">R<");
    if (at == std::string_view::npos || end == std::string_view::npos || end <= at + 3 || !s_.lobby.InRoom())
        return;
    if (!blocked) {
        chatBlocked_ = false;
        return;
    }
    // The blocker and both players' names are known only while a game is open.
    chatBlocked_ = gameOpen_ && !header_.BlackLabel.empty() && !header_.WhiteLabel.empty();
}

} // namespace zel
